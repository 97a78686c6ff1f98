# Tests under Wine. Each runs in a seat (scripts/lib/ctest-fixture): a Wine prefix under
# PHASEBOX_WINE_ROOT (build/wine; the environment variable of that name, when set at
# configure time, moves them) laid out for one density, with its persistent wineserver and
# a virtual X display of its own. A seat is a CTest fixture: its setup makes what the tests
# need (the prefix once, then it is kept) and its cleanup stops what the setup started, so
# that `ctest` runs on its own. The tests of one seat take turns; tests of different seats
# run side by side under `ctest -j`. The second compiler's tree has seats of its own
# (clang-dpi120, ...), so both trees' tests run in one `ctest` at once.
if(DEFINED ENV{PHASEBOX_WINE_ROOT})
  set(PHASEBOX_WINE_ROOT "$ENV{PHASEBOX_WINE_ROOT}")
else()
  set(PHASEBOX_WINE_ROOT "${PROJECT_SOURCE_DIR}/build/wine")
endif()
# Names of this tree's tests, fixtures and seats: "" for the first compiler, "clang" for the
# second.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(PHASEBOX_TEST_TREE clang)
  set(phasebox_seat_prefix clang-)
  set(phasebox_test_prefix clang_)
else()
  set(PHASEBOX_TEST_TREE "")
  set(phasebox_seat_prefix "")
  set(phasebox_test_prefix "")
endif()

set(phasebox_fixture ${PROJECT_SOURCE_DIR}/scripts/lib/ctest-fixture)
foreach(dpi 120 96 144)
  set(seat ${phasebox_seat_prefix}dpi${dpi})
  add_test(NAME seat_${seat}_setup COMMAND ${phasebox_fixture} setup ${seat} ${dpi})
  add_test(NAME seat_${seat}_cleanup COMMAND ${phasebox_fixture} cleanup ${seat})
  # Making a prefix takes a minute or more on a busy machine; a run that holds it is waited
  # for up to 600 s.
  set_tests_properties(seat_${seat}_setup PROPERTIES FIXTURES_SETUP seat_${seat} TIMEOUT 1800
                       ENVIRONMENT "PHASEBOX_WINE_ROOT=${PHASEBOX_WINE_ROOT}")
  set_tests_properties(seat_${seat}_cleanup PROPERTIES FIXTURES_CLEANUP seat_${seat}
                       ENVIRONMENT "PHASEBOX_WINE_ROOT=${PHASEBOX_WINE_ROOT}")
endforeach()

# phasebox_wine_test(NAME COMMAND... [DPI dpi] [COST seconds] [LABELS label...]
#                    [ENVIRONMENT var=value...])
# A test of this tree, named with the tree's prefix and labelled with its name ("clang")
# and "dpiN". With DPI it runs in that seat: WINEPREFIX and DISPLAY are the seat's (wine-run
# and phasebox_fixture_seat read the display from PHASEBOX_DISPLAY_FILE). Without it the
# test needs no seat (it makes what it needs itself). COST, about the seconds it takes, lets
# a first `ctest -j` (with no times measured yet) start the long tests first.
function(phasebox_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DPI;COST" "COMMAND;LABELS;ENVIRONMENT")
  set(test ${phasebox_test_prefix}${name})
  add_test(NAME ${test} COMMAND ${arg_COMMAND})
  set(env "PHASEBOX_WINE_ROOT=${PHASEBOX_WINE_ROOT}" ${arg_ENVIRONMENT})
  set(labels ${arg_LABELS} ${PHASEBOX_TEST_TREE})
  if(arg_DPI)
    set(seat ${phasebox_seat_prefix}dpi${arg_DPI})
    list(APPEND env "WINEPREFIX=${PHASEBOX_WINE_ROOT}/${seat}"
                    "PHASEBOX_DISPLAY_FILE=${PHASEBOX_WINE_ROOT}/${seat}.ctest")
    list(APPEND labels dpi${arg_DPI})
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED seat_${seat}
                         RESOURCE_LOCK seat_${seat})
  endif()
  set_tests_properties(${test} PROPERTIES ENVIRONMENT "${env}" LABELS "${labels}")
  if(arg_COST)
    set_tests_properties(${test} PROPERTIES COST ${arg_COST})
  endif()
endfunction()
