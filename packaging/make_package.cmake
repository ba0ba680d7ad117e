# Packs the release zip: the two programs, stripped of their symbols, and the
# user guide with Windows line ends; and beside it the zip's SHA-256 sum in the
# form sha256sum -c reads. Two builds of one commit give the same bytes: the
# programs and the entries carry the commit's time, the entries fixed modes in
# a fixed order, and no owner or extra time fields.
#   cmake -DPROGRAM=... -DCONSOLE_PROGRAM=... -DGUIDE=... -DSTRIP=... -DZIP_PROGRAM=...
#         -DEPOCH=... -DSTAGE=... -DZIP=... -P make_package.cmake
set(ENV{SOURCE_DATE_EPOCH} ${EPOCH})  # strip writes it into the program header
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY_FILE ${PROGRAM} ${STAGE}/KalmorChecker.exe)
file(COPY_FILE ${CONSOLE_PROGRAM} ${STAGE}/kalmor-check.exe)
set(programs KalmorChecker.exe kalmor-check.exe)
foreach(program IN LISTS programs)
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

list(TRANSFORM programs PREPEND ${STAGE}/ OUTPUT_VARIABLE staged)
file(CHMOD ${staged} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(CHMOD ${STAGE}/user-guide.txt PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# A zip keeps local time in two-second steps: an even second, written as UTC.
math(EXPR even "${EPOCH} - ${EPOCH} % 2")
set(ENV{TZ} UTC0)
execute_process(COMMAND touch -d @${even} ${programs} user-guide.txt
  WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)

file(REMOVE ${ZIP} ${ZIP}.sha256)
# -X: no owner ids and no extra times; -D: no folder entries. zip also takes
# options from these variables, which a user's environment must not change.
unset(ENV{ZIPOPT})
unset(ENV{ZIP})
execute_process(COMMAND ${ZIP_PROGRAM} -X -D -q -9 ${ZIP} ${programs} user-guide.txt
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot write ${ZIP}")
endif()
file(SHA256 ${ZIP} sum)
get_filename_component(name ${ZIP} NAME)
file(WRITE ${ZIP}.sha256 "${sum}  ${name}\n")
