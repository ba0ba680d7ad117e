# kalmor-check as a user runs it, beside the stand-in solver in a folder whose
# name holds two blanks in a row: the whole matrix (the calling modes that
# leave the input path bare cannot reach it), its JSON, a crash and its reason,
# a timeout, the exit statuses, and the version a support report names; what
# the solver prints is not part of it.
#   cmake -DCHECK=... -DSOLVER=... -DWORK=... -DVERSION=... [-DEMULATOR=...] [-DDRIVE=Z:]
#         [-DSANITIZED=ON] -P check_cli.cmake
set(folder "${WORK}/Kalmor  Prüf")
set(slow "${WORK}/slow")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${folder}" "${slow}")
get_filename_component(program "${CHECK}" NAME)
file(COPY_FILE "${CHECK}" "${folder}/${program}")
foreach(target "${folder}" "${slow}")
  file(COPY_FILE "${SOLVER}" "${target}/kmwin32.exe")
  file(COPY_FILE "${SOLVER}" "${target}/kmwin64.exe")
endforeach()
file(WRITE "${folder}/test_#3.INP" "<Protokoll>\r\n")
file(WRITE "${folder}/test_#4.INP" "%standin nowrite\r\n%standin crash\r\n<Protokoll>\r\n")
file(WRITE "${slow}/test_#3.INP" "%standin sleep 30000\r\n<Protokoll>\r\n")
file(WRITE "${slow}/test_#4.INP" "%standin sleep 30000\r\n<Protokoll>\r\n")
file(WRITE "${slow}/test_s#7.INP" "<Protokoll>\r\n")

function(check what)
  if(NOT (${ARGN}))
    message(FATAL_ERROR "${what}\n--- status ${status}, output:\n${out}${err}")
  endif()
endfunction()

# Runs the program in the folder it lives in; sets out, err and status.
macro(run)
  execute_process(COMMAND ${EMULATOR} "${folder}/${program}" ${ARGN} WORKING_DIRECTORY "${WORK}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 120)
endmacro()

run(--task all --build all --mode all --lang en)
check("a failed run makes status 1" status EQUAL 1)
string(REGEX MATCHALL "[^\n]+\n" lines "${out}")
list(LENGTH lines count)
check("one line per run and a summary" count EQUAL 9 OR count EQUAL 17)
math(EXPR runs "${count} - 1")
set(builds "32-Bit")
if(runs EQUAL 16)
  list(APPEND builds "64-Bit")
endif()
set(order "")
foreach(task "#3" "#4")
  foreach(build IN LISTS builds)
    foreach(mode 1 2 3 4)
      string(APPEND order "${task}  ${build}  mode ${mode} ")
    endforeach()
  endforeach()
endforeach()
string(REGEX REPLACE " +(passed|failed) +[0-9.]+ s +[^\n]*\n" " " seen "${out}")
string(REGEX REPLACE "[0-9]+ runs:.*" "" seen "${seen}")
check("every combination in the window's order" "${seen}" STREQUAL "${order}")
string(REGEX MATCHALL "#3  [^\n]* mode [12]  passed +[0-9.]+ s  Kalmor stand-in[^\n]*" passes "${out}")
string(REGEX MATCHALL "mode [34]  failed [^\n]*exit code 2 without writing KM.OUT." bare "${out}")
list(LENGTH passes passCount)
list(LENGTH bare bareCount)
math(EXPR quarter "${runs} / 4")
math(EXPR half "${runs} / 2")
check("quoted modes pass with the first line of KM.OUT" passCount EQUAL quarter)
check("bare modes fail on the blanks, with the exit code" bareCount EQUAL half)
if(EMULATOR)
  set(crash "exit code 0xC0000005 \\(STATUS_ACCESS_VIOLATION[^)]*\\) without writing KM.OUT")
elseif(SANITIZED)
  set(crash "without writing KM.OUT")
else()
  set(crash "was ended by signal 11 \\(SIGSEGV, [^)]+\\) without writing KM.OUT")
endif()
check("a crash names its cause" "${out}" MATCHES "#4  32-Bit  mode 1  failed [^\n]*${crash}")
check("the summary counts" "${out}" MATCHES "${runs} runs: [0-9]+ passed, [0-9]+ failed, 0 aborted, 0 refused, 0 errors\n$")

run(--json --task all --build all --mode all --lang de)
check("JSON keeps the status" status EQUAL 1)
string(JSON jsonRuns LENGTH "${out}" runs)
string(JSON detail GET "${out}" runs 0 detail)
string(JSON version GET "${out}" version)
check("JSON names the checker's version" version STREQUAL VERSION)
check("JSON holds every run" jsonRuns EQUAL runs)
check("JSON texts in the chosen language" "${out}" MATCHES "Läufe: ")
check("JSON carries the first line" "${detail}" MATCHES "^Kalmor stand-in")
check("what the solver prints stays out of the report" NOT "${out}${err}" MATCHES "standin:")

run(--version)
check("--version says the version" status EQUAL 0 AND out MATCHES "^kalmor-check ${VERSION}\r?\n$")
run(--task 3 --mode 1)
check("all passed is status 0" status EQUAL 0)
run(--task s7)
check("a task that is not there is status 2" status EQUAL 2)
run(--mode 5)
check("a usage error is status 2" status EQUAL 2 AND err MATCHES "--help")

# Two runs that time out, each stopped on its own, then one that passes, in a
# folder named relative to the current one.
run(--folder slow --task all --build 32 --timeout 1 --lang en)
set(aborted "32-Bit  mode 1  aborted  [1-9][0-9]*\\.[0-9]+ s  Test has been aborted\n")
check("each run has its own outcome, status 1" status EQUAL 1 AND out MATCHES
  "^#3  ${aborted}#4  ${aborted}s#7  32-Bit  mode 1  passed ")
file(READ "${slow}/TMP_INPUT.INP" input)
check("the protocol line names the folder absolutely" input MATCHES "^Protokoll (/|[A-Z]:\\\\)[^\r\n]+slow[/\\\\]KM.OUT\r?\n$")
# A missing solver: every run that cannot start names it, not only the first of its build.
file(REMOVE "${slow}/kmwin32.exe")
run(--folder slow --task 3 --build 32 --mode all --lang en)
string(REGEX MATCHALL "  error +[0-9.]+ s  kmwin32.exe fehlt/is missing! Error number: 2 " missing "${out}")
list(LENGTH missing missingCount)
check("each run of a missing solver names it, status 2" status EQUAL 2 AND missingCount EQUAL 4)
file(COPY_FILE "${SOLVER}" "${slow}/kmwin32.exe")
if(NOT EMULATOR)  # Wine shows a Unix link as a plain file
  file(CREATE_LINK TMP_INPUT.INP "${slow}/test_#3.INP" SYMBOLIC)
  run(--folder slow --task all --build 32 --lang en)
  check("a refused run ends the matrix with its reason, status 2" status EQUAL 2 AND
    out MATCHES "^#3  32-Bit  mode 1  refused  [^\n]*same file. the test does not start.\n1 runs: 0 passed, 0 failed, 0 aborted, 1 refused, 0 errors\n$")
  # "lk/.." is where the link leads, then up, as the system resolves it.
  file(MAKE_DIRECTORY "${WORK}/a/b")
  file(CREATE_LINK "${WORK}/a/b" "${WORK}/lk" SYMBOLIC)
  run(--folder lk/../slow)
  check("a folder through a link is the one the system means" status EQUAL 2 AND err MATCHES "/a/slow\\)\n")
  # A relative folder needs a current one that has a name: here it was removed.
  execute_process(COMMAND sh -c "mkdir gone && cd gone && rmdir ../gone && exec \"$0\" --folder slow"
    "${folder}/${program}" WORKING_DIRECTORY "${WORK}" ERROR_VARIABLE err RESULT_VARIABLE status TIMEOUT 120)
  check("a relative folder without a current one is a usage error" status EQUAL 2 AND
    err MATCHES "the current folder cannot be named")
  # A folder name with a terminal's control sequence is written out; --json users get JSON.
  string(ASCII 27 escape)
  run(--folder "${WORK}/x${escape}[31m")
  check("a usage error escapes the folder name" status EQUAL 2 AND err MATCHES "x\\\\x1b.31m" AND NOT err MATCHES "${escape}")
  run(--json --folder "${WORK}/x${escape}[31m")
  string(JSON jsonError ERROR_VARIABLE notJson GET "${out}" error)
  check("a usage error with --json is a JSON document" status EQUAL 2 AND NOT notJson AND jsonError MATCHES "no test task")
endif()
