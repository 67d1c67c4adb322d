# Cross build for 32-bit Windows; its executables run under Wine's 32-bit
# half (wine32), where the kernel runs 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
