# Packs the release zip: the program, stripped of its symbols, and the user
# guide with Windows line ends.
#   cmake -DPROGRAM=... -DGUIDE=... -DSTRIP=... -DSTAGE=... -DZIP=... -P make_package.cmake
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY_FILE ${PROGRAM} ${STAGE}/KalmorChecker.exe)
if(STRIP)
  execute_process(COMMAND ${STRIP} ${STAGE}/KalmorChecker.exe RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${STAGE}/KalmorChecker.exe")
  endif()
endif()

file(READ ${GUIDE} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${STAGE}/user-guide.txt "${text}")

file(REMOVE ${ZIP})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip KalmorChecker.exe user-guide.txt
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${ZIP}")
endif()
