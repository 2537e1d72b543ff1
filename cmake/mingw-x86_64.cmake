# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads flavour):
# only the benchmark's stand-in for the screen saver, on machines that cannot
# run 32-bit programs (bench/run).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(toolchain_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
