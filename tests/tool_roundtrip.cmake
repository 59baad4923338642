# pretty, then compact, gives back the compact text byte for byte.
# -DEMULATOR=runner -DTOOL=program -DINPUT=file -DWORK=folder
foreach(indent 4 0 2)
  set(pretty "${WORK}/pretty-${indent}.json")
  execute_process(COMMAND ${EMULATOR} ${TOOL} pretty --indent ${indent} "${INPUT}" "${pretty}" RESULT_VARIABLE rc)
  execute_process(COMMAND ${EMULATOR} ${TOOL} compact "${pretty}" RESULT_VARIABLE rc2 OUTPUT_VARIABLE again)
  execute_process(COMMAND ${EMULATOR} ${TOOL} compact "${INPUT}" RESULT_VARIABLE rc3 OUTPUT_VARIABLE compact)
  file(READ "${pretty}" text)
  if(NOT rc EQUAL 0 OR NOT rc2 EQUAL 0 OR NOT rc3 EQUAL 0 OR NOT again STREQUAL compact OR NOT text MATCHES "\n}\n$")
    message(FATAL_ERROR "indent ${indent}: exits ${rc} ${rc2} ${rc3}\npretty:\n${text}\ncompact again:\n${again}")
  endif()
endforeach()
