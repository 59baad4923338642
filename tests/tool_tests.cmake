# The orvjson tool as a user runs it: exit status, standard output and errors.
set(ORVJSON_TOOL_DATA "${CMAKE_CURRENT_SOURCE_DIR}/data")

function(orvjson_tool_test name)
  cmake_parse_arguments(T "" "EXIT;STDOUT;STDERR;OUTFILE;OUTFILE_MATCHES;INPUT;STDOUT_FILE" "ARGS" ${ARGN})
  string(REPLACE ";" "|" args "${T_ARGS}")
  set(defines "-DEMULATOR=${ORVJSON_BARE_EMULATOR}" -DTOOL=$<TARGET_FILE:orvjson_tool> "-DARGS=${args}"
    -DEXIT=${T_EXIT})
  foreach(option STDOUT STDERR OUTFILE OUTFILE_MATCHES INPUT STDOUT_FILE)
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
  ARGS compact "${ORVJSON_TOOL_DATA}/invalid.json" EXIT 1 STDERR "invalid.json:1:13: Invalid value\\.\n$")
orvjson_tool_test(compact_reports_an_unwritable_output
  ARGS compact "${ORVJSON_EXAMPLE_JSON}" "${ORVJSON_TOOL_DATA}/missing/out.json" EXIT 1 STDERR "^orvjson: cannot write ")
orvjson_tool_test(help_lists_every_command ARGS --help EXIT 0
  STDOUT "compact \\[FILE \\[OUT\\]\\].*get FILE KEY.*inspect \\[FILE\\].*Exit status")
orvjson_tool_test(each_command_has_its_own_help ARGS get --help EXIT 0 STDOUT "^Usage: orvjson get FILE KEY\n")
orvjson_tool_test(inspect_has_its_own_help ARGS inspect -h EXIT 0 STDOUT "^Usage: orvjson inspect")
orvjson_tool_test(version_is_shown ARGS --version EXIT 0 STDOUT "^orvjson ${PROJECT_VERSION}\n$")
orvjson_tool_test(version_is_shown_by_commands ARGS compact --version EXIT 0 STDOUT "^orvjson ${PROJECT_VERSION}\n$")
orvjson_tool_test(compact_reads_standard_input ARGS compact - EXIT 0 INPUT "${ORVJSON_TOOL_DATA}/kinds.json"
  STDOUT "^{\"s\":\"text\",\"i\":-5,")
orvjson_tool_test(get_reads_standard_input ARGS get - i EXIT 0 INPUT "${ORVJSON_TOOL_DATA}/kinds.json" STDOUT "^-5\n$")
orvjson_tool_test(standard_input_with_a_byte_order_mark_is_refused ARGS inspect - EXIT 1
  INPUT "${ORVJSON_TOOL_DATA}/bom.json" STDERR "standard input starts with a UTF-8 byte-order mark")
orvjson_tool_test(invalid_standard_input_is_reported ARGS compact - EXIT 1
  INPUT "${ORVJSON_TOOL_DATA}/invalid.json" STDERR "^orvjson: standard input:1:13: Invalid value\\.\n$")
orvjson_tool_test(an_unknown_command_is_a_usage_error ARGS frobnicate EXIT 2
  STDERR "^orvjson: unknown command 'frobnicate' \\(see 'orvjson --help'\\)\n$")
orvjson_tool_test(no_command_is_a_usage_error EXIT 2 STDERR "no command given")

set(kinds "${ORVJSON_TOOL_DATA}/kinds.json")
orvjson_tool_test(get_prints_a_string_as_it_is ARGS get ${kinds} s EXIT 0 STDOUT "^text\n$")
orvjson_tool_test(get_prints_integers ARGS get ${kinds} i EXIT 0 STDOUT "^-5\n$")
orvjson_tool_test(get_prints_unsigned_integers ARGS get ${kinds} u EXIT 0 STDOUT "^3000000000\n$")
orvjson_tool_test(get_prints_doubles_as_doubles ARGS get ${kinds} d2 EXIT 0 STDOUT "^2.0\n$")
orvjson_tool_test(get_prints_booleans ARGS get ${kinds} b EXIT 0 STDOUT "^false\n$")
orvjson_tool_test(get_prints_null ARGS get ${kinds} n EXIT 0 STDOUT "^null\n$")
orvjson_tool_test(get_prints_arrays_one_element_per_line ARGS get ${kinds} doubles EXIT 0 STDOUT "^0.5\n1e300\n$")
orvjson_tool_test(get_prints_string_arrays ARGS get ${kinds} strings EXIT 0 STDOUT "^a\nb c\n$")
orvjson_tool_test(get_prints_mixed_arrays_as_json ARGS get ${kinds} mixed EXIT 0 STDOUT "^\\[1,\"x\"\\]\n$")
orvjson_tool_test(get_prints_empty_arrays_as_json ARGS get ${kinds} empty EXIT 0 STDOUT "^\\[\\]\n$")
orvjson_tool_test(get_prints_objects_as_json ARGS get ${kinds} o EXIT 0 STDOUT "^{\"x\":{\"y\":1}}\n$")
orvjson_tool_test(get_prints_64_bit_integers ARGS get ${kinds} u64 EXIT 0 STDOUT "^18446744073709551615\n$")
orvjson_tool_test(get_prints_negative_64_bit_integers ARGS get ${kinds} i64 EXIT 0 STDOUT "^-3000000000\n$")
orvjson_tool_test(get_reports_a_missing_member ARGS get ${kinds} nope EXIT 1 STDERR "^orvjson: no member 'nope'")
orvjson_tool_test(get_refuses_a_plain_key_on_an_array_root ARGS get "${ORVJSON_TOOL_DATA}/array.json" 0 EXIT 1
  STDERR "holds no object; get reads a member of an object, or takes a JSON Pointer such as /0")
orvjson_tool_test(get_needs_file_and_key ARGS get ${kinds} EXIT 2 STDERR "get takes FILE and KEY")

orvjson_tool_test(inspect_lists_members_with_their_kinds ARGS inspect ${kinds} EXIT 0
  STDOUT "^\\(root\\)\tobject of 17\ns\tstring\ni\tinteger\nu\tunsigned\ni64\tint64\nu64\tuint64\nd\tinteger\nd2\tdouble\nb\tbool\nn\tnull\nints\tarray of 2\ndoubles\tarray of 2\nstrings\tarray of 2\nmixed\tarray of 2\nempty\tarray of 0\no\tobject of 1\ns\tstring\nn\tinteger\n$")
orvjson_tool_test(inspect_lists_array_elements ARGS inspect "${ORVJSON_TOOL_DATA}/array.json" EXIT 0
  STDOUT "^\\(root\\)\tarray of 10\n\\[0\\]\tinteger\n\\[1\\]\tunsigned\n\\[2\\]\tint64\n\\[3\\]\tuint64\n\\[4\\]\tdouble\n\\[5\\]\tstring\n\\[6\\]\tbool\n\\[7\\]\tnull\n\\[8\\]\tobject of 2\n\\[9\\]\tarray of 2\n$")
orvjson_tool_test(inspect_defaults_to_the_bundled_example ARGS inspect EXIT 0 STDOUT "^\\(root\\)\tobject of 12\nstation\tstring\n")
orvjson_tool_test(inspect_reports_invalid_json ARGS inspect "${ORVJSON_TOOL_DATA}/invalid.json" EXIT 1
  STDERR "invalid.json:1:13: Invalid value")

# Where and why, for every kind of refusal; pretty and compact undo each other.
set(ORVJSON_TOOL_WORK "${CMAKE_CURRENT_BINARY_DIR}/tool-work")
file(MAKE_DIRECTORY "${ORVJSON_TOOL_WORK}")
add_test(NAME tool.every_refusal_names_its_place_and_reason COMMAND ${CMAKE_COMMAND}
  "-DEMULATOR=${ORVJSON_BARE_EMULATOR}" -DTOOL=$<TARGET_FILE:orvjson_tool> "-DWORK=${ORVJSON_TOOL_WORK}"
  -P "${CMAKE_CURRENT_SOURCE_DIR}/tool_messages.cmake")
add_test(NAME tool.pretty_then_compact_gives_back_the_compact_text COMMAND ${CMAKE_COMMAND}
  "-DEMULATOR=${ORVJSON_BARE_EMULATOR}" -DTOOL=$<TARGET_FILE:orvjson_tool> "-DWORK=${ORVJSON_TOOL_WORK}"
  "-DINPUT=${ORVJSON_EXAMPLE_JSON}" -P "${CMAKE_CURRENT_SOURCE_DIR}/tool_roundtrip.cmake")
orvjson_tool_test(pretty_indents_four_spaces_a_level ARGS pretty ${kinds} EXIT 0
  STDOUT "^{\n    \"s\": \"text\",\n    \"i\": -5,")
orvjson_tool_test(pretty_refuses_an_indent_out_of_range ARGS pretty --indent=17 ${kinds} EXIT 2 STDERR "--indent takes a number")

set(data "${ORVJSON_TOOL_DATA}")
orvjson_tool_test(validate_lists_each_invalid_file ARGS validate ${kinds} "${data}/invalid.json" "${data}/missing.json"
  EXIT 1 STDOUT "^[^\n]*invalid.json:1:13: Invalid value\\.\ncannot open [^\n]*missing.json [^\n]*\n$")
orvjson_tool_test(validate_says_nothing_of_valid_files_unless_asked ARGS validate -v ${kinds} "${data}/array.json"
  EXIT 0 STDOUT "^[^\n]*kinds.json: valid\n[^\n]*array.json: valid\n$")
orvjson_tool_test(validate_needs_a_file ARGS validate EXIT 2 STDERR "validate takes at least one FILE")

set(sample "${ORVJSON_EXAMPLE_JSON}")
orvjson_tool_test(get_follows_a_json_pointer ARGS get ${sample} /sensors/1/name EXIT 0 STDOUT "^barometer\n$")
orvjson_tool_test(get_prints_numbers_at_a_pointer_as_written ARGS get ${sample} /readings/5 EXIT 0
  STDOUT "^6.02214076e23\n$")
orvjson_tool_test(get_reports_a_pointer_that_leads_nowhere ARGS get ${sample} /sensors/3/name EXIT 1
  STDERR "^orvjson: nothing at /sensors/3/name in ")
orvjson_tool_test(get_refuses_an_invalid_pointer ARGS get ${sample} /a~2 EXIT 2 STDERR "is not a valid JSON Pointer")

orvjson_tool_test(get_matches_names_by_all_their_bytes ARGS get "${data}/nul-key.json" a EXIT 0 STDOUT "^5\n$")
orvjson_tool_test(inspect_shows_every_byte_of_a_name ARGS inspect "${data}/nul-key.json" EXIT 0
  STDOUT "^\\(root\\)\tobject of 3\na\\\\u0000b\tobject of 1\na\tinteger\ntab\\\\u0009name\tbool\n$")
orvjson_tool_test(compact_names_a_null_root_as_the_cause ARGS compact "${data}/null.json" "${ORVJSON_TOOL_WORK}/null-out.json"
  EXIT 1 STDERR "null.json holds only null, which WriteToFile does not save")
orvjson_tool_test(an_out_of_dash_is_standard_output ARGS compact ${kinds} - EXIT 0 STDOUT "^{\"s\":\"text\"")
orvjson_tool_test(an_unknown_option_is_a_usage_error ARGS compact --frob EXIT 2
  STDERR "^orvjson: unknown option '--frob' for compact \\(see 'orvjson --help'\\)\n$")
if(NOT WIN32)
  orvjson_tool_test(inspect_reports_an_output_it_cannot_write ARGS inspect EXIT 1 STDOUT_FILE /dev/full
    STDERR "cannot write to standard output")
  orvjson_tool_test(get_reports_an_output_it_cannot_write ARGS get ${kinds} s EXIT 1 STDOUT_FILE /dev/full
    STDERR "cannot write to standard output")
endif()
# A limit on virtual memory breaks the sanitizers' own mappings.
if(NOT WIN32 AND NOT ORVJSON_SANITIZE AND NOT ORVJSON_SANITIZE_THREAD)
  add_test(NAME tool.a_file_larger_than_memory_is_reported_on_one_line
    COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/tool_out_of_memory.sh" $<TARGET_FILE:orvjson_tool> "${ORVJSON_TOOL_WORK}")
endif()
