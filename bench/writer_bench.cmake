add_examora_bench(writer_bench SOURCES writer_bench.cpp DEPS jet)
