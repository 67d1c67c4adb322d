# Cross build for 32-bit Windows. Built to prove it compiles and links; its
# tests are not run (the machine's Wine is 64-bit only).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
set(STRAYSWEEP_CAN_RUN_TESTS OFF)
