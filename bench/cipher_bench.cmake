add_examora_bench(cipher_bench SOURCES cipher_bench.cpp DEPS bank)
