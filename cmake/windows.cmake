# The real program, its variants for tests, and the Wine-tier test programs.
enable_language(RC)
enable_testing()

include(cmake/windows-flags.cmake)
include(cmake/icon.cmake)
include(cmake/translations.cmake)

add_subdirectory(screensaver)
include(cmake/assets.cmake)
add_installer_logic(quorvane_windows_flags)
quorvane_translations(installer ${CMAKE_SOURCE_DIR}/resources/translations.rc ${CMAKE_SOURCE_DIR}/resources)
quorvane_translation_object(installer ${installer_TRANSLATIONS})

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
        string(APPEND assets_rc "programCRC DATA \"${QUORVANE_PAYLOAD_CHECK}\"\n")
    endif()
    file(WRITE ${assets_dir}/assets.rc "${assets_rc}")

    add_executable(${target} WIN32
        ${CMAKE_SOURCE_DIR}/app/process_entry.cpp
        ${CMAKE_SOURCE_DIR}/platform/win32_platform.cpp
        ${CMAKE_SOURCE_DIR}/platform/lz32_binding.cpp
        ${CMAKE_SOURCE_DIR}/platform/system_dll.cpp
        ${CMAKE_SOURCE_DIR}/platform/late_binding.cpp
        ${CMAKE_SOURCE_DIR}/resources/installer.rc)
    target_link_libraries(${target} PRIVATE installer_logic)
    target_include_directories(${target} PRIVATE ${assets_dir} ${QUORVANE_ICON_DIR})
    set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/installer.rc PROPERTIES
        OBJECT_DEPENDS "${QUORVANE_BANNER_FILE};${QUORVANE_PAYLOAD_FILE};${QUORVANE_PAYLOAD_CHECK};${assets_dir}/assets.rc;${QUORVANE_ICON_FILE}")
    set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/installer.rc APPEND PROPERTY OBJECT_DEPENDS
        ${CMAKE_SOURCE_DIR}/resources/strings.rc ${CMAKE_SOURCE_DIR}/resources/menu_and_dialog.rc)
    quorvane_link_translations(${target} installer)
    quorvane_windows_program(${target})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    add_dependencies(${target} quorvane_icon)
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
