# add_unit_test(NAME SOURCES... DEPS... [LABELS ...]): one GoogleTest program, its cases
# registered with CTest one by one. Labels: unit (default), oracle, qt, e2e, x11.

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

function(add_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  if("oracle" IN_LIST ARG_LABELS AND NOT EXAMORA_ORACLE_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_options(${name} PRIVATE ${EXAMORA_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    EXAMORA_SAMPLES_DIR="${EXAMORA_TEST_HOST_ROOT}${CMAKE_SOURCE_DIR}/tests/data/jet4"
    EXAMORA_SOURCE_DIR="${EXAMORA_TEST_HOST_ROOT}${CMAKE_SOURCE_DIR}"
    EXAMORA_BINARY_DIR="${EXAMORA_TEST_HOST_ROOT}${CMAKE_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
