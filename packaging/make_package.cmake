# Packs the release zip: the two programs, stripped of their symbols, and the
# user guide with Windows line ends.
#   cmake -DPROGRAM=... -DCONSOLE_PROGRAM=... -DGUIDE=... -DSTRIP=... -DSTAGE=... -DZIP=... -P make_package.cmake
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY_FILE ${PROGRAM} ${STAGE}/KalmorChecker.exe)
file(COPY_FILE ${CONSOLE_PROGRAM} ${STAGE}/kalmor-check.exe)
foreach(program KalmorChecker.exe kalmor-check.exe)
  if(STRIP)
    execute_process(COMMAND ${STRIP} ${STAGE}/${program} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "cannot strip ${STAGE}/${program}")
    endif()
  endif()
endforeach()

file(READ ${GUIDE} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${STAGE}/user-guide.txt "${text}")

file(REMOVE ${ZIP})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip KalmorChecker.exe kalmor-check.exe user-guide.txt
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${ZIP}")
endif()
