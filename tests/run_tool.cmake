# Runs the orvjson tool once and checks its exit status and output.
# [-DEMULATOR=runner] -DTOOL=program -DARGS=a|b|c -DEXIT=n [-DSTDOUT=regex] [-DSTDERR=regex]
# [-DOUTFILE=path -DOUTFILE_MATCHES=regex] [-DINPUT=file for standard input]
# [-DSTDOUT_FILE=file standard output goes to, such as /dev/full]
string(REPLACE "|" ";" args "${ARGS}")
if(OUTFILE)
  file(REMOVE "${OUTFILE}")
endif()
if(NOT INPUT)
  set(INPUT "${CMAKE_CURRENT_LIST_FILE}")  # something harmless to read
endif()
# Under wine a run has been seen to end at once with status 1 and no output
# at all, which the tool itself never does: every failure of the tool says
# why. Such a run is tried again, at most twice.
foreach(attempt 1 2 3)
  set(out "")
  set(err "")
  if(STDOUT_FILE)
    execute_process(COMMAND ${EMULATOR} ${TOOL} ${args} INPUT_FILE "${INPUT}" OUTPUT_FILE "${STDOUT_FILE}"
      RESULT_VARIABLE rc ERROR_VARIABLE err)
  else()
    execute_process(COMMAND ${EMULATOR} ${TOOL} ${args} INPUT_FILE "${INPUT}"
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  endif()
  if(NOT EMULATOR OR rc EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    break()
  endif()
  message(STATUS "attempt ${attempt} of 3: exit status ${rc} with no output")
endforeach()
if(NOT rc EQUAL EXIT)
  message(FATAL_ERROR "exit status ${rc}, expected ${EXIT}\nstdout: ${out}\nstderr: ${err}")
endif()
if(DEFINED STDOUT AND NOT out MATCHES "${STDOUT}")
  message(FATAL_ERROR "stdout does not match ${STDOUT}:\n${out}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not match ${STDERR}:\n${err}")
endif()
if(OUTFILE)
  file(READ "${OUTFILE}" written)
  if(NOT written MATCHES "${OUTFILE_MATCHES}")
    message(FATAL_ERROR "${OUTFILE} does not match ${OUTFILE_MATCHES}:\n${written}")
  endif()
endif()
