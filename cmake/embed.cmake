# vrask_embed(target files...) builds a static library that holds each file
# as a byte array, found at run time by its file name (EmbeddedAsset()).
function(vrask_embed target)
  set(out ${CMAKE_BINARY_DIR}/embedded/${target}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFILES=${ARGN}" -P ${CMAKE_SOURCE_DIR}/cmake/embed_files.cmake
    DEPENDS ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/embed_files.cmake
    COMMENT "Embedding assets"
    VERBATIM)
  add_library(${target} STATIC ${out})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
