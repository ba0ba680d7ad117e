# Runs the built stand-in as the checker would and looks at what it leaves
# behind. Invoked by ctest:
#   cmake -DSTANDIN=<exe> -DWORK=<scratch folder> [-DEMULATOR=<runner>] -P standin_run_test.cmake
# Under an emulator (Wine) the solver sees paths as Z:\... .

if(NOT STANDIN OR NOT WORK)
  message(FATAL_ERROR "STANDIN and WORK must be given")
endif()
set(folder "${WORK}/with blank")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${folder}")

function(solver_path out path)
  if(EMULATOR)
    string(REPLACE "/" "\\" path "Z:${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

solver_path(protocol "${folder}/KM.OUT")
solver_path(input "${folder}/TMP_INPUT.INP")

# check(<description> <condition...>): the condition as if() takes it.
function(check description)
  if(NOT (${ARGN}))
    message(SEND_ERROR "FAILED: ${description}")
  endif()
endfunction()

# Writes TMP_INPUT.INP with CR LF line ends from the given lines.
function(write_task)
  set(text "")
  foreach(line IN LISTS ARGN)
    string(APPEND text "${line}\r\n")
  endforeach()
  file(WRITE "${folder}/TMP_INPUT.INP" "${text}")
  file(REMOVE "${folder}/KM.OUT")
endfunction()

function(run_solver)
  # Files, not pipes: a background child may hold inherited streams open
  # (Wine passes them on), and reading a pipe would wait for it too.
  execute_process(COMMAND ${EMULATOR} "${STANDIN}" ${ARGN}
    RESULT_VARIABLE rc OUTPUT_FILE "${WORK}/stdout.txt" ERROR_FILE "${WORK}/stderr.txt")
  set(rc "${rc}" PARENT_SCOPE)
endfunction()

# A task that passes, the input path given as one argument.
write_task("Stipulation #3" "Protokoll ${protocol}" "wKe1 Dd1" "sKe8")
run_solver("${input}")
check("plain task ends with 0 (got ${rc})" rc EQUAL 0)
check("plain task writes the protocol" EXISTS "${folder}/KM.OUT")
# Read as hex: a text read would not show the CR.
string(HEX "Kalmor stand-in: 3 lines solved\r\n" expected)
string(LENGTH "${expected}" expected_length)
file(READ "${folder}/KM.OUT" out HEX)
string(SUBSTRING "${out}" 0 ${expected_length} head)
check("first protocol line ends with CR LF (got ${head})" head STREQUAL expected)
file(STRINGS "${folder}/standin_calls.log" calls)
list(GET calls -1 last)
check("calls log of a quoted call (got '${last}')" last MATCHES "^2 \\[.*\\] \\[.*with blank.TMP_INPUT.INP\\]$")

# The same path split at its blank, as an unquoted command line delivers it.
string(FIND "${input}" " " blank)
string(SUBSTRING "${input}" 0 ${blank} head)
math(EXPR tail_start "${blank} + 1")
string(SUBSTRING "${input}" ${tail_start} -1 tail)
file(REMOVE "${folder}/KM.OUT")
run_solver("${head}" "${tail}")
check("split input path is joined (rc ${rc})" rc EQUAL 0 AND EXISTS "${folder}/KM.OUT")
file(STRINGS "${folder}/standin_calls.log" calls)
list(GET calls -1 last)
check("calls log counts the split arguments (got '${last}')" last MATCHES "^3 ")

run_solver()
check("no argument gives exit code 2 (got ${rc})" rc EQUAL 2)

write_task("Stipulation #3" "wKe1")
run_solver("${input}")
check("without a protocol line nothing is written" rc EQUAL 0 AND NOT EXISTS "${folder}/KM.OUT")

write_task("Protokoll ${protocol}" "%standin nowrite" "%standin exit 7")
run_solver("${input}")
check("exit directive (got ${rc})" rc EQUAL 7)
check("nowrite directive" NOT EXISTS "${folder}/KM.OUT")

write_task("Protokoll ${protocol}" "%standin empty")
run_solver("${input}")
file(SIZE "${folder}/KM.OUT" size)
check("empty directive writes an empty file (size ${size})" size EQUAL 0)

write_task("Protokoll ${protocol}" "%standin crash")
run_solver("${input}")
check("crash directive ends abnormally (got ${rc})" NOT rc EQUAL 0)
check("crash comes after the work" EXISTS "${folder}/KM.OUT")

write_task("Protokoll ${protocol}" "%standin sleep fast")
run_solver("${input}")
check("a bad directive refuses the task (rc ${rc})" rc EQUAL 2 AND NOT EXISTS "${folder}/KM.OUT")

write_task("Protokoll ${protocol}" "%standin sleep 700")
string(TIMESTAMP before "%s%f")
run_solver("${input}")
string(TIMESTAMP after "%s%f")
math(EXPR elapsed_ms "(${after} - ${before}) / 1000")
check("sleep directive delays the solver (${elapsed_ms} ms)" elapsed_ms GREATER_EQUAL 700)

# The copy outlives the solver and leaves its line once it has slept.
file(REMOVE "${folder}/standin_child.log")
write_task("Protokoll ${protocol}" "%standin child 1500")
run_solver("${input}")
check("solver ends before its child" rc EQUAL 0 AND NOT EXISTS "${folder}/standin_child.log")
foreach(attempt RANGE 20)
  if(EXISTS "${folder}/standin_child.log")
    break()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.5)
endforeach()
check("child finished and logged" EXISTS "${folder}/standin_child.log")
