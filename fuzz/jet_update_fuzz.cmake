add_examora_fuzzer(jet_update_fuzz SOURCES jet_update_fuzz.cpp DEPS jet)
