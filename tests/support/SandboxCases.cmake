# Run by CTest before the tests (an include file of the tests folder): makes every case of
# one test program a CTest test of its own.
#
# The cases of one GoogleTest suite form a group: they run one after the other in the
# group's sandbox (`sandbox case`), which sandboxkeeper brings back to its opened state after
# each case, and the group ends with "<Suite>.(sandbox check)" (`sandbox close`), which fails
# when the sandbox is not as it was opened. Cases that match a PRISTINE expression, or every
# case while the environment holds QUELORA_PRISTINE, get a fresh sandbox of their own
# (`sandbox run`).
#
# Set by the including file: QUELORA_PROGRAM, QUELORA_NAME, QUELORA_SANDBOX,
# QUELORA_TEMPLATE, QUELORA_GROUPS, QUELORA_PRISTINE, QUELORA_ENVIRONMENT.

if(NOT EXISTS "${QUELORA_PROGRAM}")
  add_test("${QUELORA_NAME}.NOT_BUILT" /bin/sh -c "echo '${QUELORA_PROGRAM} is not built' >&2; exit 1")
  return()
endif()
set(QUELORA_CASES "${QUELORA_PROGRAM}.cases")

# Listing cases starts Wine: only for programs built since their last list, and then for
# every such program beside this one at once, in one sandbox.
if(NOT EXISTS "${QUELORA_CASES}" OR "${QUELORA_PROGRAM}" IS_NEWER_THAN "${QUELORA_CASES}")
  get_filename_component(bin "${QUELORA_PROGRAM}" DIRECTORY)
  file(GLOB programs "${bin}/*_tests.exe")
  set(stale "")
  foreach(program IN LISTS programs)
    if(NOT EXISTS "${program}.cases" OR "${program}" IS_NEWER_THAN "${program}.cases")
      list(APPEND stale "${program}")
    endif()
  endforeach()
  execute_process(
    COMMAND "${QUELORA_SANDBOX}" list "${QUELORA_TEMPLATE}" ${stale}
    OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result TIMEOUT 300)
  if(NOT result EQUAL 0)
    string(REPLACE "'" "" errors "${errors}")
    add_test("${QUELORA_NAME}.NOT_LISTED" /bin/sh -c
             "echo 'listing the cases of ${stale} failed (${result}): ${errors}' >&2; exit 1")
    return()
  endif()
  # "### PROGRAM" before each program's list.
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REGEX REPLACE "\r?\n" ";" listing "${listing}")
  set(out "")
  foreach(line IN LISTS listing)
    if(line MATCHES "^### (.*)$")
      set(out "${CMAKE_MATCH_1}.cases")
      file(WRITE "${out}" "")
    elseif(out)
      file(APPEND "${out}" "${line}\n")
    endif()
  endforeach()
endif()

file(STRINGS "${QUELORA_CASES}" lines)
set(suite "")
set(groups "")
set(cases 0)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "[\r\n]" "" line "${line}")
  # "Suite." then "  Case" lines; parameterised ones carry "  # GetParam() = ..." after them.
  string(REGEX REPLACE "  #.*" "" line "${line}")
  if(line MATCHES "^([^ ]+\\.)$")
    set(suite "${CMAKE_MATCH_1}")
    continue()
  endif()
  if(NOT line MATCHES "^  ([^ ]+)$" OR suite STREQUAL "")
    continue()
  endif()
  set(full "${suite}${CMAKE_MATCH_1}")
  math(EXPR cases "${cases} + 1")
  string(REPLACE "DISABLED_" "" name "${full}")
  set(pristine FALSE)
  if(DEFINED ENV{QUELORA_PRISTINE})
    set(pristine TRUE)
  endif()
  foreach(pattern IN LISTS QUELORA_PRISTINE)
    if(full MATCHES "^(${pattern})$" OR name MATCHES "^(${pattern})$")
      set(pristine TRUE)
    endif()
  endforeach()
  set(args "--gtest_filter=${full}" --gtest_also_run_disabled_tests)
  if(pristine)
    add_test("${name}" "${QUELORA_SANDBOX}" run "${QUELORA_TEMPLATE}" "${QUELORA_PROGRAM}" ${args})
  else()
    string(REGEX REPLACE "[^A-Za-z0-9_.-]" "_" group "${QUELORA_NAME}.${suite}")
    add_test("${name}" "${QUELORA_SANDBOX}" case "${QUELORA_GROUPS}/${group}" "${QUELORA_TEMPLATE}"
             "${QUELORA_PROGRAM}" ${args})
    set_tests_properties("${name}" PROPERTIES RESOURCE_LOCK "sandbox:${group}"
                         FIXTURES_REQUIRED "sandbox:${group}")
    list(FIND groups "${group}" known)
    if(NOT name STREQUAL full)
      # A disabled case runs only when another case starts it: no group for it alone.
    elseif(known EQUAL -1)
      list(APPEND groups "${group}")
      string(REPLACE "DISABLED_" "" shown "${suite}")
      add_test("${shown}(sandbox check)" "${QUELORA_SANDBOX}" close "${QUELORA_GROUPS}/${group}")
      set_tests_properties("${shown}(sandbox check)" PROPERTIES RESOURCE_LOCK "sandbox:${group}"
                           FIXTURES_CLEANUP "sandbox:${group}" TIMEOUT 120)
    endif()
  endif()
  set_tests_properties("${name}" PROPERTIES TIMEOUT 300 ENVIRONMENT "${QUELORA_ENVIRONMENT}"
                       SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  if(NOT name STREQUAL full)
    set_tests_properties("${name}" PROPERTIES DISABLED TRUE)
  endif()
endforeach()
if(cases EQUAL 0)
  add_test("${QUELORA_NAME}.NO_CASES" /bin/sh -c "echo '${QUELORA_PROGRAM} listed no case' >&2; exit 1")
endif()
