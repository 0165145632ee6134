# add_version_resource(target file-name description type)
# Gives a shipped file its version resource (product name, version,
# description); type is VFT_APP or VFT_DLL.
function(add_version_resource target file_name description type)
  set(VERSION_FILE_NAME ${file_name})
  set(VERSION_DESCRIPTION ${description})
  set(VERSION_FILE_TYPE ${type})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
