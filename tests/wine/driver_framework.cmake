# The driver framework's sources, for the Wine tier and for the benchmark's own build.
set(DRIVER_FRAMEWORK_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/driver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/module_resources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../common/resource_script.cpp)
