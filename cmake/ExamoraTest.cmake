# Every test program of the project is declared through this file, so that each gets the same
# warnings, paths and labels. Labels: unit (default), oracle, qt, e2e, x11; scripts/test,
# scripts/mutate and the sanitizer build choose tests by them.
#
# add_unit_test(NAME SOURCES... DEPS... [LABELS ...] [DEFINITIONS ...] [NEEDS target...]
#               [ENVIRONMENT VAR=VALUE...] [OWN_MAIN]): one GoogleTest program, its cases
#   registered with CTest one by one. DEFINITIONS are compile definitions of the program,
#   NEEDS the targets built before it (a tool it runs, a file it reads), ENVIRONMENT is set for
#   its tests. OWN_MAIN: the program has its own main() (one that starts a QGuiApplication
#   before the tests, say) instead of GoogleTest's.
#
# add_corpus_test(NAME SOURCES... DEPS... CORPUS DIR [LABELS ...]): a program that runs over
#   every file of DIR (a fuzz target linked with fuzz/replay_main.cpp), registered as the one
#   test NAME.corpus.

# A cross build (Windows with MinGW-w64) cannot use the system's GoogleTest libraries: it builds
# GoogleTest from Debian's source package (googletest, in /usr/src/googletest) with its own
# compiler instead.
if(CMAKE_CROSSCOMPILING)
  set(EXAMORA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for a cross build")
  if(NOT EXISTS ${EXAMORA_GTEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "a cross build needs the GoogleTest sources in ${EXAMORA_GTEST_SOURCE_DIR} "
                        "(Debian: apt-get install googletest)")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${EXAMORA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own build names its targets GTest::gtest and GTest::gtest_main already.
  # nlohmann_json is headers only, so the build machine's copy serves the cross build too.
  if(NOT nlohmann_json_DIR AND EXISTS /usr/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake)
    set(nlohmann_json_DIR /usr/share/cmake/nlohmann_json CACHE PATH "" FORCE)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# The oracle tests compare with mdbtools and the npm reader, run through the POSIX shell: they
# exist on the build machine only, so a cross build (Windows, run under Wine) leaves them out.
if(CMAKE_CROSSCOMPILING)
  set(oracle_default OFF)
else()
  set(oracle_default ON)
endif()
option(EXAMORA_ORACLE_TESTS "Build the tests that compare with mdbtools and the npm reader"
       ${oracle_default})

# The test programs find the samples and sources through absolute paths of the build machine.
# A Windows program under Wine sees the build machine's "/" as drive Z:.
if(CMAKE_CROSSCOMPILING AND WIN32 AND CMAKE_HOST_UNIX)
  set(root_default "Z:")
else()
  set(root_default "")
endif()
set(EXAMORA_TEST_HOST_ROOT "${root_default}" CACHE STRING
    "What the test programs put before the build machine's absolute paths")

# The labels of a test (unit when none are given) into `out`; empty when the test is left out
# of this build (oracle tests without EXAMORA_ORACLE_TESTS).
function(examora_test_labels out)
  set(labels ${ARGN})
  if(NOT labels)
    set(labels unit)
  endif()
  if("oracle" IN_LIST labels AND NOT EXAMORA_ORACLE_TESTS)
    set(labels "")
  endif()
  set(${out} "${labels}" PARENT_SCOPE)
endfunction()

# The program of a test in `folder` of the build tree, with the project's warnings and paths.
function(examora_test_program name folder)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;DEFINITIONS;NEEDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${folder})
  target_compile_options(${name} PRIVATE ${EXAMORA_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    EXAMORA_SAMPLES_DIR="${EXAMORA_TEST_HOST_ROOT}${CMAKE_SOURCE_DIR}/tests/data/jet4"
    EXAMORA_SOURCE_DIR="${EXAMORA_TEST_HOST_ROOT}${CMAKE_SOURCE_DIR}"
    EXAMORA_BINARY_DIR="${EXAMORA_TEST_HOST_ROOT}${CMAKE_BINARY_DIR}"
    ${ARG_DEFINITIONS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  if(ARG_NEEDS)
    add_dependencies(${name} ${ARG_NEEDS})
  endif()
endfunction()

function(add_unit_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;DEPS;LABELS;DEFINITIONS;NEEDS;ENVIRONMENT"
                        ${ARGN})
  examora_test_labels(labels ${ARG_LABELS})
  if(NOT labels)
    return()
  endif()
  set(gtest GTest::gtest)
  if(NOT ARG_OWN_MAIN)
    list(APPEND gtest GTest::gtest_main)
  endif()
  examora_test_program(${name} tests SOURCES ${ARG_SOURCES} DEPS ${ARG_DEPS} ${gtest}
                       DEFINITIONS ${ARG_DEFINITIONS} NEEDS ${ARG_NEEDS})
  set(properties LABELS "${labels}")
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()

function(add_corpus_test name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;DEPS;LABELS" ${ARGN})
  examora_test_labels(labels ${ARG_LABELS})
  if(NOT labels)
    return()
  endif()
  if(NOT IS_DIRECTORY "${ARG_CORPUS}")
    message(FATAL_ERROR "${name} has no corpus folder ${ARG_CORPUS}")
  endif()
  # Beside the fuzzers, not in tests/: scripts/mutate runs the programs there without arguments.
  examora_test_program(${name} fuzz-replay SOURCES ${ARG_SOURCES} DEPS ${ARG_DEPS})
  add_test(NAME ${name}.corpus COMMAND ${name} ${ARG_CORPUS})
  set_tests_properties(${name}.corpus PROPERTIES LABELS "${labels}")
endfunction()
