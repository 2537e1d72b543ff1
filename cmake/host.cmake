# The installer's own code compiled natively against Wine's Win32 headers and
# linked with the fake platform, GoogleTest and the sanitizers.
enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

find_path(WINE_WINDOWS_INCLUDE_DIR windows.h PATHS /usr/include/wine/wine/windows NO_DEFAULT_PATH REQUIRED)

set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(quorvane_host_defaults INTERFACE)
target_include_directories(quorvane_host_defaults INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_include_directories(quorvane_host_defaults SYSTEM INTERFACE ${WINE_WINDOWS_INCLUDE_DIR})
target_compile_definitions(quorvane_host_defaults INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN
    QUORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_compile_options(quorvane_host_defaults INTERFACE -Wall -Wextra -Werror ${sanitizers})
target_link_options(quorvane_host_defaults INTERFACE ${sanitizers})

add_subdirectory(screensaver)

file(GLOB fake_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fake/*.cpp)
file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(host_tests ${QUORVANE_SYSTEM_SOURCES} ${fake_sources} ${test_sources}
    ${CMAKE_SOURCE_DIR}/tests/common/resource_script.cpp)
find_library(MSPACK_LIBRARY mspack REQUIRED)
target_link_libraries(host_tests PRIVATE quorvane_host_defaults GTest::gtest_main ${MSPACK_LIBRARY})
target_link_libraries(host_tests PRIVATE screensaver_logic)
# The payload tests and scenarios read the compressed file and what it was made from.
include(cmake/assets.cmake)
target_compile_definitions(host_tests PRIVATE QUORVANE_PAYLOAD_FILE="${QUORVANE_PAYLOAD_FILE}"
    QUORVANE_PAYLOAD_PROGRAM="${QUORVANE_PAYLOAD_PROGRAM}")
add_dependencies(host_tests ${QUORVANE_PAYLOAD_TARGET})
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS host)
