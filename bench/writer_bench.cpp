// Writing a question bank of the usual shape: 2,300 questions, each with a 30 KB picture, a
// question text, four short answers and a few numeric columns.
#include <benchmark/benchmark.h>

#include <string>

#include "jet/writer.h"

namespace {

jet::WriterTable QuestionTable() {
  using jet::ColumnType;
  jet::WriterTable t;
  t.name = "test";
  t.columns = {{"id", ColumnType::kInt32},          {"question", ColumnType::kMemo},
               {"a", ColumnType::kText, 255},       {"b", ColumnType::kText, 255},
               {"c", ColumnType::kText, 255},       {"d", ColumnType::kText, 255},
               {"answer", ColumnType::kByte},       {"chapter", ColumnType::kInt16},
               {"reserved", ColumnType::kInt16},    {"judge", ColumnType::kBoolean},
               {"picture", ColumnType::kLongBinary}};
  const std::u16string stem = u"驾驶机动车在道路上行驶，遇到前方路口信号灯为黄灯闪烁时应当怎样做？";
  for (int i = 0; i < 2300; ++i) {
    std::vector<uint8_t> picture(30 * 1024);
    uint32_t x = static_cast<uint32_t>(i) * 2654435761u + 7;
    for (auto& b : picture) {
      x = x * 1103515245u + 12345u;
      b = static_cast<uint8_t>(x >> 16);
    }
    t.rows.push_back({int32_t{i}, stem + stem, std::u16string(u"减速慢行，注意观察"),
                      std::u16string(u"加速通过"), std::u16string(u"停车等待"),
                      std::u16string(u"鸣喇叭通过"), static_cast<uint8_t>(i % 4),
                      static_cast<int16_t>(i % 12), int16_t{0}, i % 3 == 0, std::move(picture)});
  }
  return t;
}

void BM_WriteQuestionBank(benchmark::State& state) {
  const std::vector<jet::WriterTable> tables = {QuestionTable()};
  size_t bytes = 0;
  for (auto _ : state) {
    auto file = jet::WriteDatabase(tables, {});
    if (!file) {
      state.SkipWithError(file.error().message.c_str());
      return;
    }
    bytes = file->size();
    benchmark::DoNotOptimize(file->data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["file_MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_WriteQuestionBank)->Unit(benchmark::kMillisecond);

}  // namespace
