# lx_add_language_record(<target> LXRES <file.lxres>)
#
# Puts a project's embedded language record into a program: the 1024-byte
# record of the resource file becomes the Qt resource :/FORCEDUSEXMLAPP, which
# the localisation components read at run time. Make the file with
# `lxrecord make` (or let a design tool write it).
function(lx_add_language_record target)
    cmake_parse_arguments(ARG "" "LXRES" "" ${ARGN})
    if(NOT ARG_LXRES)
        message(FATAL_ERROR "lx_add_language_record: LXRES is required")
    endif()
    find_package(Qt6 REQUIRED COMPONENTS Core) # Qt's resource commands need it in scope
    get_filename_component(lxres "${ARG_LXRES}" ABSOLUTE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_lxrecord")
    set(block "${dir}/FORCEDUSEXMLAPP")
    add_custom_command(
        OUTPUT "${block}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND lxrecord extract "${lxres}" "${block}"
        DEPENDS "${lxres}" lxrecord
        COMMENT "Embedding the language record of ${target}"
        VERBATIM)
    set_source_files_properties("${block}" PROPERTIES GENERATED TRUE)
    set(qrc "${dir}/${target}_lxrecord.qrc")
    file(MAKE_DIRECTORY "${dir}")
    file(WRITE "${qrc}"
         "<RCC><qresource prefix=\"/\"><file alias=\"FORCEDUSEXMLAPP\">FORCEDUSEXMLAPP</file></qresource></RCC>\n")
    qt6_add_resources(record_sources "${qrc}")
    target_sources(${target} PRIVATE ${record_sources})
endfunction()
