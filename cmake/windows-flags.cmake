# Flags of every Windows program of ours: the installer, the screen saver and
# the benchmark's floors, which must be built as the installer is to be floors.
# Included by the main build and by the benchmark's own project.

# Size-optimised, static, GUI subsystem. No exceptions, RTTI or thread-safe
# statics: one thread, and none of the C++ runtime they would pull into a
# static link.
add_library(quorvane_windows_flags INTERFACE)
target_compile_definitions(quorvane_windows_flags INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN)
target_compile_options(quorvane_windows_flags INTERFACE -Os -Wall -Wextra -Werror
    $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables>)
target_link_options(quorvane_windows_flags INTERFACE -mwindows -static -static-libgcc -static-libstdc++ -s
    -Wl,--gc-sections)
# Terminal-Server aware: otherwise, on a Remote Desktop host, Windows answers
# GetWindowsDirectory with a per-user folder and the install lands there.
# ASLR and DEP are ld's defaults; spelled out so that nobody loses them.
target_link_options(quorvane_windows_flags INTERFACE -Wl,--tsaware -Wl,--dynamicbase -Wl,--nxcompat)
# Reproducible: the same source gives the same bytes in any folder at any
# time, so that anyone can check a published program against this source.
# No link time in the header; no build folder in any string the compiler keeps.
target_link_options(quorvane_windows_flags INTERFACE -Wl,--no-insert-timestamp)
target_compile_options(quorvane_windows_flags INTERFACE
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)

function(quorvane_windows_program target)
    target_link_libraries(${target} PRIVATE quorvane_windows_flags)
endfunction()

# A console program of ours that drives or inspects the programs under Wine.
function(quorvane_windows_tool target)
    target_compile_options(${target} PRIVATE -O1 -Wall -Wextra -Werror)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()
