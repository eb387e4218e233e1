# add_unit_test(NAME SOURCES... DEPS... [LABELS ...]): one GoogleTest program, its cases
# registered with CTest one by one. Labels: unit (default), oracle, qt, e2e.
find_package(GTest REQUIRED)
include(GoogleTest)

function(add_unit_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_options(${name} PRIVATE ${EXAMORA_WARNINGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    EXAMORA_SAMPLES_DIR="${CMAKE_SOURCE_DIR}/tests/data/jet4"
    EXAMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    EXAMORA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
