# The orvjson tool as a user runs it: exit status, standard output and errors.
set(ORVJSON_TOOL_DATA "${CMAKE_CURRENT_SOURCE_DIR}/data")

function(orvjson_tool_test name)
  cmake_parse_arguments(T "" "EXIT;STDOUT;STDERR;OUTFILE;OUTFILE_MATCHES" "ARGS" ${ARGN})
  string(REPLACE ";" "|" args "${T_ARGS}")
  set(defines -DTOOL=$<TARGET_FILE:orvjson_tool> "-DARGS=${args}" -DEXIT=${T_EXIT})
  foreach(option STDOUT STDERR OUTFILE OUTFILE_MATCHES)
    if(DEFINED T_${option})
      list(APPEND defines "-D${option}=${T_${option}}")
    endif()
  endforeach()
  add_test(NAME tool.${name} COMMAND ${CMAKE_COMMAND} ${defines} -P "${CMAKE_CURRENT_SOURCE_DIR}/run_tool.cmake")
endfunction()

orvjson_tool_test(compact_prints_the_example_on_one_line
  ARGS compact "${ORVJSON_EXAMPLE_JSON}" EXIT 0
  STDOUT "^{\"station\":\"Z[^\n]*\"flags\":\\[true,false,null\\]}\n$")
orvjson_tool_test(compact_defaults_to_the_bundled_example
  ARGS compact EXIT 0 STDOUT "^{\"station\":")
orvjson_tool_test(compact_writes_to_a_file_without_a_line_break
  ARGS compact "${ORVJSON_EXAMPLE_JSON}" "${CMAKE_CURRENT_BINARY_DIR}/compact-out.json" EXIT 0
  STDOUT "^$" OUTFILE "${CMAKE_CURRENT_BINARY_DIR}/compact-out.json" OUTFILE_MATCHES "^{\"station\".*}$")
orvjson_tool_test(compact_reports_a_missing_file
  ARGS compact "${ORVJSON_TOOL_DATA}/missing.json" EXIT 1 STDERR "^orvjson: cannot open .*missing.json")
orvjson_tool_test(compact_reports_a_byte_order_mark
  ARGS compact "${ORVJSON_TOOL_DATA}/bom.json" EXIT 1 STDERR "bom.json starts with a UTF-8 byte-order mark")
orvjson_tool_test(compact_reports_invalid_json
  ARGS compact "${ORVJSON_TOOL_DATA}/invalid.json" EXIT 1 STDERR "invalid.json is not valid JSON\n$")
orvjson_tool_test(compact_reports_an_unwritable_output
  ARGS compact "${ORVJSON_EXAMPLE_JSON}" "${ORVJSON_TOOL_DATA}/missing/out.json" EXIT 1 STDERR "^orvjson: cannot write ")
orvjson_tool_test(help_describes_compact ARGS --help EXIT 0 STDOUT "compact \\[FILE \\[OUT\\]\\]")
orvjson_tool_test(an_unknown_command_is_a_usage_error ARGS frobnicate EXIT 2 STDERR "unknown command 'frobnicate'")
orvjson_tool_test(no_command_is_a_usage_error EXIT 2 STDERR "no command given")
