# Run by CPack on the staged files before it packs them: the programs lose the .comment and
# .note sections too (compiler identification, useless at run time), as Debian's own packaging
# tools strip them.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_ZTGL_INSTALL_FOLDER}/*")
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_ZTGL_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "strip failed on ${program}")
    endif()
endforeach()
