add_examora_fuzzer(sql_parser_fuzz SOURCES sql_parser_fuzz.cpp DEPS sql)
