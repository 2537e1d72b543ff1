# The icon both programs carry, drawn by tools/make-icon.py at every size.
# Sets QUORVANE_ICON_DIR (the folder the resource scripts find app.ico in),
# QUORVANE_ICON_FILE and the target quorvane_icon that makes it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QUORVANE_ICON_DIR ${CMAKE_BINARY_DIR}/icon)
set(QUORVANE_ICON_FILE ${QUORVANE_ICON_DIR}/app.ico)
add_custom_command(OUTPUT ${QUORVANE_ICON_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVANE_ICON_DIR}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make-icon.py ${QUORVANE_ICON_FILE}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make-icon.py ${CMAKE_SOURCE_DIR}/screensaver/scene.h
        ${CMAKE_SOURCE_DIR}/screensaver/render/planet_palette.h
    COMMENT "Drawing the icon"
    VERBATIM)
add_custom_target(quorvane_icon DEPENDS ${QUORVANE_ICON_FILE})
