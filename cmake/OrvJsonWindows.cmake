# What the Windows build adds: a version resource in the DLL and the tool,
# both from the project's one version, and PE files without a link time
# stamp, so that building twice gives the same bytes. The DLL's link also
# writes the .def file of its exports.
enable_language(RC)

# orvjson_version_resource(target FILENAME DESCRIPTION VFT_DLL|VFT_APP)
function(orvjson_version_resource target filename description filetype)
  set(ORVJSON_RC_FILENAME "${filename}")
  set(ORVJSON_RC_DESCRIPTION "${description}")
  set(ORVJSON_RC_FILETYPE "${filetype}")
  get_filename_component(ORVJSON_RC_NAME "${filename}" NAME_WE)
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${ORVJSON_RC_NAME}-version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  target_link_options(${target} PRIVATE "LINKER:--no-insert-timestamp")
endfunction()
