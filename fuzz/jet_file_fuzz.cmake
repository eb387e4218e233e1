add_examora_fuzzer(jet_file_fuzz SOURCES jet_file_fuzz.cpp DEPS jet)
