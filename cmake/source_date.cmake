# The time a release carries: the commit's, so that two builds of one commit
# give the same bytes. SOURCE_DATE_EPOCH from the environment wins, as with
# every tool that honours it; a tree outside git without it gets 1980-01-01,
# the earliest time a zip can hold.
set(KALMOR_SOURCE_DATE_EPOCH 315532800)
find_package(Git QUIET)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(KALMOR_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
elseif(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
      --git-path HEAD --symbolic-full-name HEAD
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} RESULT_VARIABLE failed ERROR_QUIET
    OUTPUT_VARIABLE answer OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" answer "${answer}")
  set(top "")
  if(NOT failed)
    list(GET answer 0 top)
  endif()
  if(top STREQUAL CMAKE_SOURCE_DIR)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE KALMOR_SOURCE_DATE_EPOCH
      OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    # A new commit configures again, so a release never carries an old time.
    list(GET answer 1 head)
    list(LENGTH answer parts)
    set(watched ${head})
    if(parts GREATER 2)
      list(GET answer 2 branch)
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path ${branch} --git-path packed-refs
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE refs OUTPUT_STRIP_TRAILING_WHITESPACE)
      string(REPLACE "\n" ";" refs "${refs}")
      list(APPEND watched ${refs})
    endif()
    foreach(file IN LISTS watched)
      get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
      if(EXISTS ${file})
        set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
      endif()
    endforeach()
  endif()
endif()
if(NOT KALMOR_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH is no time: ${KALMOR_SOURCE_DATE_EPOCH}")
endif()

# Rewritten only when the time changes: what depends on it is made again.
set(KALMOR_SOURCE_DATE_FILE ${CMAKE_BINARY_DIR}/source_date_epoch.txt)
file(CONFIGURE OUTPUT ${KALMOR_SOURCE_DATE_FILE} CONTENT "${KALMOR_SOURCE_DATE_EPOCH}\n")

# The linker writes the time into a Windows program's header; with this, the commit's.
function(kalmor_stamp_with_source_date target)
  set_target_properties(${target} PROPERTIES CXX_LINKER_LAUNCHER
    "${CMAKE_COMMAND};-E;env;SOURCE_DATE_EPOCH=${KALMOR_SOURCE_DATE_EPOCH}"
    LINK_DEPENDS ${KALMOR_SOURCE_DATE_FILE})
endfunction()
