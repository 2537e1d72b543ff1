# cmake -P screensaver/render/print-sources.cmake: the renderer's sources and
# its reference, one a line, from the screen saver's folder.
include(${CMAKE_CURRENT_LIST_DIR}/sources.cmake)
foreach(source ${SCREENSAVER_RENDER_SOURCES} ${SCREENSAVER_REFERENCE_SOURCES})
    message(NOTICE "${source}")
endforeach()
