# Every kind of message the tool gives for a file it cannot load, each with
# its place, from one table: a name, the file's content, and the one line
# expected on standard error.
# -DEMULATOR=runner -DTOOL=program -DWORK=folder
string(ASCII 239 187 191 bom)
set(deep "")
string(REPEAT "[" 1001 deep)
set(failures "")
set(index 0)
# One file: its content, and the line expected on standard error (a regular
# expression; FILE stands for the file's path).
function(check name content expected)
  math(EXPR i "${index} + 1")
  set(index ${i} PARENT_SCOPE)
  set(file "${WORK}/message-${i}.json")
  file(WRITE "${file}" "${content}")
  string(REPLACE "FILE" "${file}" expected "${expected}")
  if(NOT expected MATCHES "^\\^")
    set(expected "^orvjson: ${expected}\n$")
  endif()
  execute_process(COMMAND ${EMULATOR} ${TOOL} compact "${file}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 1 OR NOT err MATCHES "${expected}")
    set(failures "${failures}${name}: exit ${rc}, stderr: ${err}" PARENT_SCOPE)
  endif()
endfunction()

check("doubled comma" "{\"a\": 1,\n \"b\": 2,,\n \"c\": 3}"
  "FILE:2:9: Missing a name for object member\\.")
check("doubled comma in an array" "[1,\n2,\n\n  3,,4]"
  "FILE:4:5: Invalid value\\.")
check("characters, not bytes" "{\"é\": \"日本\", x}"
  "FILE:1:13: Missing a name for object member\\.")
check("unclosed string" "[\"abc"
  "FILE:1:6: Missing a closing quotation mark in string\\.")
check("control character in a string" "[\"a\tb\"]"
  "FILE:1:4: Invalid escape character in string\\.")
check("bad escape" "[\"a\\qb\"]"
  "FILE:1:4: Invalid escape character in string\\.")
check("lone surrogate" "[\"\\ud800x\"]"
  "FILE:1:3: The surrogate pair in string is invalid\\.")
check("missing colon" "{\"a\" 1}"
  "FILE:1:6: Missing a colon after a name of object member\\.")
check("unclosed object" "{\"a\": 1"
  "FILE:1:8: Missing a comma or '}' after an object member\\.")
check("unclosed array" "[1, 2"
  "FILE:1:6: Missing a comma or ']' after an array element\\.")
check("two values" "{} {}"
  "FILE:1:4: The document root must not be followed by other values\\.")
check("empty" "   "
  "FILE:1:4: The document is empty\\.")
check("number missing its fraction" "[1.]"
  "FILE:1:4: Miss fraction part in number\\.")
check("number missing its exponent" "[1e+]"
  "FILE:1:5: Miss exponent in number\\.")
check("number out of range" "{\n  \"big\": -1e400}"
  "FILE:2:10: Number out of range: its value is too large for a double\\.")
check("nesting too deep" "${deep}"
  "FILE:1:1001: Nesting deeper than 1000 arrays and objects\\.")
check("byte-order mark" "${bom}{}"
  "^orvjson: FILE starts with a UTF-8 byte-order mark; save it without one\n$")

# Standard input is named as such.
execute_process(COMMAND ${EMULATOR} ${TOOL} validate - INPUT_FILE "${WORK}/message-1.json"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out MATCHES "^standard input:2:9: Missing a name for object member\\.\n$")
  string(APPEND failures "standard input: exit ${rc}, stdout: ${out}")
endif()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
