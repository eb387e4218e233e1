add_examora_bench(bank_bench SOURCES bank_bench.cpp DEPS bank jet text)
target_include_directories(bank_bench PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
