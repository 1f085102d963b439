# varnow_embed_text(<out.cpp> <input file> <C++ function name>)
# Generates a source file that defines `std::string_view <name>()` returning the input file's
# bytes, so that data files under res/ are compiled into the binary without a resource system.
function(varnow_embed_text out_cpp input function_name)
    add_custom_command(
        OUTPUT ${out_cpp}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${out_cpp} -DNAME=${function_name}
                -P ${PROJECT_SOURCE_DIR}/cmake/EmbedTextScript.cmake
        DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedTextScript.cmake
        COMMENT "Embedding ${input}"
        VERBATIM)
endfunction()
