# embed_file(TARGET target INPUT file SYMBOL name): compiles the file's bytes
# into the target as `extern const char name[]; extern const unsigned long nameSize;`.
function(embed_file)
    cmake_parse_arguments(ARG "" "TARGET;INPUT;SYMBOL" "" ${ARGN})
    get_filename_component(input "${ARG_INPUT}" ABSOLUTE)
    set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${ARG_SYMBOL}.cpp")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${ARG_SYMBOL}
                -P "${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake"
        DEPENDS "${input}" "${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake"
        COMMENT "Embedding ${ARG_INPUT}"
        VERBATIM)
    target_sources(${ARG_TARGET} PRIVATE "${output}")
endfunction()
