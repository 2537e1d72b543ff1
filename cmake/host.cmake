# The installer's own code compiled natively against Wine's Win32 headers and
# linked with the fake platform and the sanitizers: with GoogleTest as the host
# tests, or (QUORVANE_FUZZ, clang) with libFuzzer as the banner loader's fuzzer.
option(QUORVANE_FUZZ "Build the libFuzzer target instead of the host tests" OFF)

find_path(WINE_WINDOWS_INCLUDE_DIR windows.h PATHS /usr/include/wine/wine/windows NO_DEFAULT_PATH REQUIRED)
find_library(MSPACK_LIBRARY mspack REQUIRED)

set(sanitizers address,undefined)
set(optimization)
if(QUORVANE_FUZZ)
    # Coverage for the fuzzer everywhere; its main() only in the fuzz target.
    set(sanitizers fuzzer-no-link,${sanitizers})
    set(optimization -O1) # more executions a second
endif()
set(sanitizer_flags -fsanitize=${sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(quorvane_host_defaults INTERFACE)
target_include_directories(quorvane_host_defaults INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_include_directories(quorvane_host_defaults SYSTEM INTERFACE ${WINE_WINDOWS_INCLUDE_DIR})
target_compile_definitions(quorvane_host_defaults INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN
    QUORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_compile_options(quorvane_host_defaults INTERFACE ${optimization} -Wall -Wextra -Werror ${sanitizer_flags})
target_link_options(quorvane_host_defaults INTERFACE ${sanitizer_flags})

add_installer_logic(quorvane_host_defaults)

# The scripted fake platform, and the resource script reader it takes the strings from.
file(GLOB fake_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fake/*.cpp)
add_library(fake_platform STATIC ${fake_sources} ${CMAKE_SOURCE_DIR}/tests/common/resource_script.cpp)
target_link_libraries(fake_platform PUBLIC quorvane_host_defaults ${MSPACK_LIBRARY})

if(QUORVANE_FUZZ)
    add_executable(resource_dib_fuzz ${CMAKE_SOURCE_DIR}/tests/fuzz/resource_dib_fuzz.cpp)
    target_link_libraries(resource_dib_fuzz PRIVATE installer_logic fake_platform)
    target_link_options(resource_dib_fuzz PRIVATE -fsanitize=fuzzer)
    return()
endif()

enable_testing()
find_package(GTest REQUIRED)

add_subdirectory(screensaver)

file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(host_tests ${test_sources})
# Its runs compare hundreds of whole frames with the reference's: optimised,
# still under the sanitizers.
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/host/screensaver_renderer_test.cpp PROPERTIES COMPILE_OPTIONS -O1
    SKIP_PRECOMPILE_HEADERS ON)
# GoogleTest's header, parsed once instead of in every test file.
target_precompile_headers(host_tests PRIVATE <gtest/gtest.h>)
target_link_libraries(host_tests PRIVATE installer_logic fake_platform screensaver_logic GTest::gtest_main)
# The payload tests and scenarios read the compressed file and what it was made from.
include(cmake/assets.cmake)
target_compile_definitions(host_tests PRIVATE QUORVANE_PAYLOAD_FILE="${QUORVANE_PAYLOAD_FILE}"
    QUORVANE_PAYLOAD_PROGRAM="${QUORVANE_PAYLOAD_PROGRAM}" QUORVANE_PAYLOAD_CHECK="${QUORVANE_PAYLOAD_CHECK}")
add_dependencies(host_tests ${QUORVANE_PAYLOAD_TARGET})
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/host_suites.cmake INPUT ${CMAKE_SOURCE_DIR}/cmake/host_suites.cmake.in)
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/host_suites.cmake)

# The translations, checked without Wine: every catalogue complete and current
# against the template, and no key twice in a menu level or dialog in any language.
include(cmake/translations.cmake)
quorvane_translations(installer ${CMAKE_SOURCE_DIR}/resources/translations.rc ${CMAKE_SOURCE_DIR}/resources)
quorvane_translations(saver ${CMAKE_SOURCE_DIR}/screensaver/translations.rc ${CMAKE_SOURCE_DIR}/screensaver
    ${CMAKE_SOURCE_DIR}/resources)
add_custom_target(translations ALL DEPENDS ${installer_ALL} ${saver_ALL})
add_test(NAME translations.catalogues COMMAND ${CMAKE_SOURCE_DIR}/tools/catalogues/check-catalogues)
add_test(NAME translations.keys COMMAND ${CMAKE_SOURCE_DIR}/tools/catalogues/check-keys ${installer_ALL} ${saver_ALL})
set_tests_properties(translations.catalogues translations.keys PROPERTIES LABELS host)
