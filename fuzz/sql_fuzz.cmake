add_examora_fuzzer(sql_fuzz SOURCES sql_fuzz.cpp DEPS sql jet)
