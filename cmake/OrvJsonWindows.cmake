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
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/version.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  target_link_options(${target} PRIVATE "LINKER:--no-insert-timestamp")
endfunction()

# The DLL a second time from the same objects, with the C++ runtime (libstdc++,
# libgcc, winpthreads) linked in: one file with no runtime DLLs, in
# bin/static-runtime. On 32-bit x86 MinGW unwinds with DWARF-2 tables, and a
# process can hold only one libgcc that every module registers its tables
# with: a host that links its runtime statically cannot even catch its own
# exceptions once libgcc_s_dw2-1.dll is loaded, and a DLL with libgcc linked
# in cannot catch its own in a process that loaded that DLL. So MinGW hosts
# with the shared runtime take bin/orvjson.dll, MinGW hosts with a static
# runtime take this one; hosts of other compilers and languages may take
# either (this one is the simpler to ship).
function(orvjson_static_runtime_dll)
  add_library(orvjson_static_runtime SHARED $<TARGET_OBJECTS:orvjson_objects>)
  target_link_libraries(orvjson_static_runtime PRIVATE advapi32 orvjson_compile_options)
  target_link_options(orvjson_static_runtime PRIVATE -static)
  set_target_properties(orvjson_static_runtime PROPERTIES
    PREFIX "" OUTPUT_NAME orvjson
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/bin/static-runtime"
    ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/static-runtime")
  orvjson_version_resource(orvjson_static_runtime orvjson.dll
    "OrvJson: handle-based JSON documents (C++ runtime linked in)" VFT_DLL)
endfunction()
