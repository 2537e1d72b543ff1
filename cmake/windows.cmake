# The real program, its variants for tests, and the Wine-tier test programs.
enable_language(RC)
enable_testing()

# Size-optimised, static, GUI-subsystem flags every Windows program of ours uses.
# No exceptions, RTTI or thread-safe statics: one thread, and none of the C++
# runtime that they would pull into a static link.
function(quorvane_windows_program target)
    target_compile_options(${target} PRIVATE -Os -Wall -Wextra -Werror
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables>)
    target_link_options(${target} PRIVATE -mwindows -static -static-libgcc -static-libstdc++ -s
        -Wl,--gc-sections -ffunction-sections -fdata-sections)
    # Terminal-Server aware: otherwise, on a Remote Desktop host, Windows answers
    # GetWindowsDirectory with a per-user folder and the install lands there.
    # ASLR and DEP are ld's defaults; spelled out so that nobody loses them.
    target_link_options(${target} PRIVATE -Wl,--tsaware -Wl,--dynamicbase -Wl,--nxcompat)
    # Reproducible: the same source gives the same bytes in any folder at any
    # time, so that anyone can check a published program against this source.
    # No link time in the header; no build folder in any string the compiler keeps.
    target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
    target_compile_options(${target} PRIVATE
        -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
        -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
endfunction()

# A console program of ours that drives or inspects the installer under Wine.
function(quorvane_windows_tool target)
    target_compile_options(${target} PRIVATE -O1 -Wall -Wextra -Werror)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()

add_subdirectory(screensaver)
include(cmake/assets.cmake)

# add_installer(<target> [NO_BANNER] [NO_PAYLOAD]): the installer with the
# assets it carries, so that tests can also run variants without them.
function(add_installer target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "NO_BANNER;NO_PAYLOAD" "" "")
    set(assets_dir ${CMAKE_CURRENT_BINARY_DIR}/assets/${target})
    set(assets_rc "// Generated: the assets ${target} carries.\n")
    if(NOT ARG_NO_BANNER)
        string(APPEND assets_rc "installBMP BITMAP \"${QUORVANE_BANNER_FILE}\"\n")
    endif()
    if(NOT ARG_NO_PAYLOAD AND QUORVANE_PAYLOAD_FILE)
        string(APPEND assets_rc "program DATA \"${QUORVANE_PAYLOAD_FILE}\"\n")
    endif()
    file(WRITE ${assets_dir}/assets.rc "${assets_rc}")

    add_executable(${target} WIN32
        ${QUORVANE_SYSTEM_SOURCES}
        ${CMAKE_SOURCE_DIR}/app/process_entry.cpp
        ${CMAKE_SOURCE_DIR}/platform/win32_platform.cpp
        ${CMAKE_SOURCE_DIR}/platform/lz32_binding.cpp
        ${CMAKE_SOURCE_DIR}/resources/installer.rc)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources ${assets_dir})
    target_compile_definitions(${target} PRIVATE NOMINMAX WIN32_LEAN_AND_MEAN)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/installer.rc PROPERTIES
        OBJECT_DEPENDS "${QUORVANE_BANNER_FILE};${QUORVANE_PAYLOAD_FILE};${assets_dir}/assets.rc")
    quorvane_windows_program(${target})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    if(QUORVANE_PAYLOAD_TARGET)
        add_dependencies(${target} ${QUORVANE_PAYLOAD_TARGET})
    endif()
endfunction()

add_installer(QuorvaneSetup)
add_test(NAME windows.pe_flags COMMAND ${CMAKE_SOURCE_DIR}/tools/check-pe-flags ${CMAKE_OBJDUMP}
    $<TARGET_FILE:QuorvaneSetup> $<TARGET_FILE:QuorvaneScr>)

add_subdirectory(tests/wine)

# The SHA-256 of both programs as the last lines of every full build, for the
# publisher to record (sha256sum -c reads them back in this folder).
add_custom_target(program_checksums ALL
    COMMAND ${CMAKE_COMMAND} -E sha256sum QuorvaneSetup.exe screensaver/Quorvane.scr
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    VERBATIM)
get_property(wine_tier_targets DIRECTORY tests/wine PROPERTY BUILDSYSTEM_TARGETS)
add_dependencies(program_checksums QuorvaneSetup QuorvaneScr ${wine_tier_targets})
