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

# lx_add_resource_strings(<target> [SOURCES <files>...] [IDS <file>])
#
# The build step of resource strings (LX_RESOURCESTRING in the sources): scans
# the sources (by default the target's own), compiles the string table into the
# program and writes <program>.drc beside it. IDS names a file in the source
# tree that keeps the identifiers stable between builds (created when missing;
# commit it with the sources).
function(lx_add_resource_strings target)
    cmake_parse_arguments(ARG "" "IDS" "SOURCES" ${ARGN})
    set(sources ${ARG_SOURCES})
    if(NOT sources)
        get_target_property(sources ${target} SOURCES)
    endif()
    set(abs_sources "")
    foreach(s IN LISTS sources)
        if(s MATCHES "\\.(c|cc|cpp|cxx|h|hh|hpp|hxx)$")
            get_filename_component(a "${s}" ABSOLUTE)
            list(APPEND abs_sources "${a}")
        endif()
    endforeach()
    set(table "${CMAKE_CURRENT_BINARY_DIR}/${target}_resstrings.cpp")
    set(drc "${CMAKE_CURRENT_BINARY_DIR}/${target}.drc")
    set(ids_args "")
    set(ids_deps "")
    if(ARG_IDS)
        get_filename_component(ids "${ARG_IDS}" ABSOLUTE)
        set(ids_args --ids "${ids}")
        if(EXISTS "${ids}")
            set(ids_deps "${ids}") # edited by hand: scan again
        endif()
    endif()
    add_custom_command(
        OUTPUT "${table}" "${drc}"
        COMMAND lxresscan --output "${table}" --drc "${drc}" ${ids_args} ${abs_sources}
        DEPENDS ${abs_sources} ${ids_deps} lxresscan
        COMMENT "Resource strings of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE "${table}")
    target_link_libraries(${target} PRIVATE LXStd)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different "${drc}" "$<TARGET_FILE_DIR:${target}>/${target}.drc"
        VERBATIM)
endfunction()

# lx_add_packs(<target> <folder>)
#
# Copies the *.lng packs of <folder> beside the program as lang/ (the pack
# folder "\lang\" of the application component), again whenever one changes.
function(lx_add_packs target folder)
    file(GLOB packs CONFIGURE_DEPENDS "${folder}/*.lng")
    set(copies "")
    foreach(pack IN LISTS packs)
        get_filename_component(name "${pack}" NAME)
        set(copy "${CMAKE_CURRENT_BINARY_DIR}/lang/${name}")
        add_custom_command(OUTPUT "${copy}"
                           COMMAND ${CMAKE_COMMAND} -E copy_if_different "${pack}" "${copy}"
                           DEPENDS "${pack}"
                           VERBATIM)
        list(APPEND copies "${copy}")
    endforeach()
    add_custom_target(${target}_lang ALL DEPENDS ${copies})
    add_dependencies(${target} ${target}_lang)
endfunction()
