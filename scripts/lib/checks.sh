# shellcheck shell=bash
# The checks of the script-driven tests (tests/e2e, tests/release): each prints "ok:" or
# "FAILED:" with its description and counts into passed and failed.
passed=0
failed=0

# check ok|fail DESCRIPTION
check() {
    if [ "$1" = ok ]; then
        passed=$((passed + 1))
        echo "  ok: $2"
    else
        failed=$((failed + 1))
        echo "  FAILED: $2"
    fi
}

# check_that DESCRIPTION COMMAND...: ok when the command succeeds.
check_that() {
    local what="$1"
    shift
    if "$@"; then check ok "$what"; else check fail "$what"; fi
}
