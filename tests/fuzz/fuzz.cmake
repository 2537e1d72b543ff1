# The libFuzzer target over the banner image, built with clang. The fuzz preset
# injects this file into the project (CMAKE_PROJECT_Quorvane_INCLUDE), so the
# target compiles the installer's own sources and the fake platform exactly as
# the host tests do, with the fuzzer's instrumentation instead of GoogleTest.
find_path(QUORVANE_FUZZ_WINDOWS_INCLUDE windows.h PATHS /usr/include/wine/wine/windows NO_DEFAULT_PATH REQUIRED)
find_library(QUORVANE_FUZZ_MSPACK mspack REQUIRED)

set(fuzz_sanitizers -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
file(GLOB fuzz_fake_sources ${CMAKE_SOURCE_DIR}/tests/fake/*.cpp)
add_executable(resource_dib_fuzz
    ${CMAKE_SOURCE_DIR}/tests/fuzz/resource_dib_fuzz.cpp
    ${CMAKE_SOURCE_DIR}/ui/resource_dib.cpp
    ${CMAKE_SOURCE_DIR}/ui/layout.cpp
    ${CMAKE_SOURCE_DIR}/app/app_state.cpp
    ${CMAKE_SOURCE_DIR}/app/messages.cpp
    ${fuzz_fake_sources}
    ${CMAKE_SOURCE_DIR}/tests/common/resource_script.cpp)
target_include_directories(resource_dib_fuzz PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources)
target_include_directories(resource_dib_fuzz SYSTEM PRIVATE ${QUORVANE_FUZZ_WINDOWS_INCLUDE})
target_compile_definitions(resource_dib_fuzz PRIVATE NOMINMAX WIN32_LEAN_AND_MEAN
    QUORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_compile_options(resource_dib_fuzz PRIVATE -g -O1 -Wall -Wextra -Werror ${fuzz_sanitizers})
target_link_options(resource_dib_fuzz PRIVATE ${fuzz_sanitizers})
target_link_libraries(resource_dib_fuzz PRIVATE ${QUORVANE_FUZZ_MSPACK})
