# The translations: each catalogue po/<language>.po compiled by msgfmt, and wrc
# making every language's copy of a program's texts from its English script.
# Included by both presets: the Windows one links the copies, the host tier checks them.
find_program(QUORVANE_WRC wrc REQUIRED)
find_program(QUORVANE_MSGFMT msgfmt REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(QUORVANE_WINE_HEADERS /usr/include/wine/wine/windows)

file(GLOB catalogues CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(QUORVANE_CATALOGUE_DIR ${CMAKE_BINARY_DIR}/po)
set(QUORVANE_COMPILED_CATALOGUES)
set(linguas "")
foreach(catalogue ${catalogues})
    get_filename_component(language ${catalogue} NAME_WE)
    set(compiled ${QUORVANE_CATALOGUE_DIR}/${language}.mo)
    add_custom_command(OUTPUT ${compiled}
        COMMAND ${QUORVANE_MSGFMT} --check -o ${compiled} ${catalogue}
        DEPENDS ${catalogue} VERBATIM)
    list(APPEND QUORVANE_COMPILED_CATALOGUES ${compiled})
    string(APPEND linguas "${language}\n")
endforeach()
# wrc translates into the languages LINGUAS names, each from <language>.mo beside it.
file(CONFIGURE OUTPUT ${QUORVANE_CATALOGUE_DIR}/LINGUAS CONTENT "${linguas}")

# quorvane_translations(<name> <script> <include folders...>): <name>_all.res,
# wrc's output (the English template and every translation), and
# <name>_translations.res, the translations alone. Sets <name>_TRANSLATIONS to the latter.
function(quorvane_translations name script)
    set(all ${CMAKE_CURRENT_BINARY_DIR}/${name}_all.res)
    set(kept ${CMAKE_CURRENT_BINARY_DIR}/${name}_translations.res)
    set(includes)
    set(scripts ${script})
    foreach(folder ${ARGN})
        list(APPEND includes -I${folder})
        file(GLOB folder_scripts ${folder}/*.rc ${folder}/*.h)
        list(APPEND scripts ${folder_scripts})
    endforeach()
    add_custom_command(OUTPUT ${all} ${kept}
        COMMAND ${QUORVANE_WRC} -I${QUORVANE_WINE_HEADERS} ${includes} --po-dir=${QUORVANE_CATALOGUE_DIR} -o ${all} ${script}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/catalogues/keep-translations ${all} ${kept}
        DEPENDS ${scripts} ${QUORVANE_COMPILED_CATALOGUES} ${QUORVANE_CATALOGUE_DIR}/LINGUAS
            ${CMAKE_SOURCE_DIR}/tools/catalogues/keep-translations ${CMAKE_SOURCE_DIR}/tools/catalogues/resfile.py
        VERBATIM)
    set(${name}_ALL ${all} PARENT_SCOPE)
    set(${name}_TRANSLATIONS ${kept} PARENT_SCOPE)
endfunction()

# quorvane_translation_object(<name> <translations.res>): the translations as
# one more resource object, target <name>_object; the linker merges the
# resources of all a program's objects. Sets <name>_OBJECT.
function(quorvane_translation_object name translations)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}_translations.o)
    add_custom_command(OUTPUT ${object}
        COMMAND ${CMAKE_RC_COMPILER} -J res -O coff -i ${translations} -o ${object}
        DEPENDS ${translations} VERBATIM)
    add_custom_target(${name}_object DEPENDS ${object})
    set(${name}_OBJECT ${object} PARENT_SCOPE)
endfunction()

# quorvane_link_translations(<target> <name>): links that object into the program.
function(quorvane_link_translations target name)
    target_sources(${target} PRIVATE ${${name}_OBJECT})
    set_source_files_properties(${${name}_OBJECT} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    add_dependencies(${target} ${name}_object)
endfunction()
