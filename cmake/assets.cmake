# Assets the installer carries: the banner, and the compressed screen saver.
set(QUORVANE_BANNER_FILE ${CMAKE_SOURCE_DIR}/resources/banner.bmp)

# quorvane_payload(<input> [DEPENDS <targets or files>...]) compresses <input>
# into the SZDD payload and sets, for the caller:
#   QUORVANE_PAYLOAD_FILE     the compressed file, payload/Quorvane.sc_
#   QUORVANE_PAYLOAD_PROGRAM  the very bytes that were compressed, payload/Quorvane.scr
#   QUORVANE_PAYLOAD_CHECK    their CRC-32 and length, then the compressed file's, payload/Quorvane.crc
#   QUORVANE_PAYLOAD_TARGET   the target that makes both
# Header byte 9 holds "r", the last character of the installed name Quorvane.scr.
function(quorvane_payload input)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "DEPENDS")
    set(payload_dir ${CMAKE_BINARY_DIR}/payload)
    set(program ${payload_dir}/Quorvane.scr)
    set(compressed ${payload_dir}/Quorvane.sc_)
    set(check ${payload_dir}/Quorvane.crc)
    add_custom_command(OUTPUT ${compressed} ${program} ${check}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${payload_dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${input} ${program}
        COMMAND ${CMAKE_SOURCE_DIR}/tools/make-payload ${program} ${compressed} r ${check}
        DEPENDS ${input} ${ARG_DEPENDS} ${CMAKE_SOURCE_DIR}/tools/make-payload
        COMMENT "Compressing the payload"
        VERBATIM)
    add_custom_target(payload DEPENDS ${compressed} ${program} ${check})
    set(QUORVANE_PAYLOAD_FILE ${compressed} PARENT_SCOPE)
    set(QUORVANE_PAYLOAD_PROGRAM ${program} PARENT_SCOPE)
    set(QUORVANE_PAYLOAD_CHECK ${check} PARENT_SCOPE)
    set(QUORVANE_PAYLOAD_TARGET payload PARENT_SCOPE)
endfunction()

if(QUORVANE_TARGET STREQUAL "windows")
    # A signed release (tools/release) compresses the signed copy of the screen
    # saver, so that the installed screen saver is signed too.
    set(QUORVANE_PAYLOAD_SAVER "" CACHE FILEPATH "Screen saver the payload carries; empty: the one this build links")
    if(QUORVANE_PAYLOAD_SAVER)
        quorvane_payload(${QUORVANE_PAYLOAD_SAVER})
    else()
        quorvane_payload($<TARGET_FILE:QuorvaneScr> DEPENDS QuorvaneScr)
    endif()
else()
    # The host build makes no Windows program: a generated file of an
    # executable's shape stands in, through the same compression step.
    set(sample ${CMAKE_BINARY_DIR}/payload/sample-program.bin)
    set(generator ${CMAKE_SOURCE_DIR}/tools/make-payload-sample.py)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_custom_command(OUTPUT ${sample}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/payload
        COMMAND Python3::Interpreter ${generator} ${sample}
        DEPENDS ${generator}
        VERBATIM)
    quorvane_payload(${sample})
endif()
