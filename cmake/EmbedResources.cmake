# Compiles every file of a resource folder into the core library, so the
# programs and the tests find their resources wherever they run from.
function(morvane_embed_resources output folder)
    file(GLOB resource_files CONFIGURE_DEPENDS ${folder}/*)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DFOLDER=${folder}
                -P ${CMAKE_SOURCE_DIR}/cmake/GenerateResources.cmake
        DEPENDS ${resource_files} ${CMAKE_SOURCE_DIR}/cmake/GenerateResources.cmake
        COMMENT "Embedding resources")
endfunction()
