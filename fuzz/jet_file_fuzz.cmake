add_examora_fuzzer(jet_file_fuzz SOURCES jet_file_fuzz.cpp DEPS jet)
target_compile_definitions(jet_file_fuzz PRIVATE
  EXAMORA_SAMPLE_FILE="${CMAKE_SOURCE_DIR}/tests/data/jet4/test2V2000.mdb")
