// Deciphering a picture-sized value must stay far below a frame: target 1 MB in under 3 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "bank/cipher.h"

static void BM_Decipher1MB(benchmark::State& state) {
  std::string data(1 << 20, '\x5a');
  for (auto _ : state) {
    std::string plain = bank::Decipher(data);
    benchmark::DoNotOptimize(plain.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_Decipher1MB)->Unit(benchmark::kMillisecond);
