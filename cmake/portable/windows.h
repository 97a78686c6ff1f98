// Put first on the portable core's include path: a core source that reaches for the
// platform's header fails to build here, on the host and in the Windows build alike.
#error "src/core is portable: it must not include <windows.h>; platform code goes in src/win"
