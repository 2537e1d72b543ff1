# Assets the installer carries: the banner, and the compressed screen saver.
set(QUORVANE_BANNER_FILE ${CMAKE_SOURCE_DIR}/resources/banner.bmp)
set(QUORVANE_PAYLOAD_FILE "")
set(QUORVANE_PAYLOAD_TARGET "")
