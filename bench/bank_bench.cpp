// The queries of one paper build on a full-size bank (2,300 questions, 465 with a picture of
// about 30 KB): one config query, one candidate query of about 1,300 rows, then 100 single-id
// queries that read every column and decipher text and picture. Target: under 10 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bank/cipher.h"
#include "bank/database.h"
#include "jet/writer.h"
#include "support/bank_fixture.h"

namespace {

std::string BuildFullBank() {
  jet::WriterTable test = testing_support::TestTable(0);
  // 18 categories in the proportions of the real bank.
  const int counts[18] = {441, 258, 239, 127, 142, 64, 48, 59, 70,
                          51,  222, 244, 145, 86,  43, 30, 30, 1};
  int pictures = 0, serial = 0;
  for (int c = 0; c < 18; ++c) {
    for (int i = 1; i <= counts[c]; ++i, ++serial) {
      char id[16];
      std::snprintf(id, sizeof id, "%02d%05d", c + 1, i);
      std::u16string uid(id, id + 7);
      std::string question = bank::Encipher(std::string(60, '\xb0'));
      jet::CellValue pic;
      if (serial % 5 == 0 && pictures < 465) {
        ++pictures;
        pic = std::vector<uint8_t>(30000, static_cast<uint8_t>(serial));
      }
      test.rows.push_back(
          {uid, std::u16string(u"1.1.1.1 "), std::vector<uint8_t>(question.begin(), question.end()),
           std::u16string(u"选项一"), std::u16string(u"选项二"), std::u16string(u"选项三"),
           std::u16string(u"选项四"), std::u16string(u"A"), pic, int16_t{0}});
    }
  }
  jet::WriterTable config = testing_support::ConfigTable();
  jet::WriterOptions options;
  options.password = u"pw";
  auto bytes = jet::WriteDatabase({config, test}, options);
  if (!bytes) {
    std::fprintf(stderr, "cannot build the bank: %s\n", bytes.error().message.c_str());
    std::exit(1);
  }
  const auto path = std::filesystem::temp_directory_path() / "examora-bench-bank.sys";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes->data()),
             static_cast<std::streamsize>(bytes->size()));
  return path.string();
}

void BM_PaperBuildQueries(benchmark::State& state) {
  static const std::string path = BuildFullBank();
  bank::Database db;
  if (!db.Open(path, "", "pw")) {
    state.SkipWithError(db.last_error().message.c_str());
    return;
  }
  for (auto _ : state) {
    int32_t h = db.OpenTable("select * from config where C1C2C3C4>0");
    for (; !db.IsEOF(h); db.MoveNext(h)) benchmark::DoNotOptimize(db.ReadColByName(h, "NUMBERID"));
    db.CloseTable(h);
    h = db.OpenTable(
        "select * from test where reserved<2 and (left(id,2)='01' or left(id,2)='02' or "
        "left(id,2)='03' or left(id,2)='04' or left(id,2)='05' or left(id,2)='06' or "
        "left(id,2)='07')");
    std::vector<std::string> ids;
    for (; !db.IsEOF(h); db.MoveNext(h)) ids.push_back(db.ReadColByName(h, "id").bytes);
    db.CloseTable(h);
    for (size_t i = 0; i < 100 && i < ids.size(); ++i) {
      const std::string& id = ids[(i * 13) % ids.size()];
      h = db.OpenTable("select * from test where id='" + id + "'");
      for (const char* column : {"id", "name", "a", "b", "c", "d", "right_key", "reserved"}) {
        benchmark::DoNotOptimize(db.ReadColByName(h, column));
      }
      benchmark::DoNotOptimize(bank::Decipher(db.ReadColByName(h, "timu").bytes));
      benchmark::DoNotOptimize(bank::Decipher(db.ReadColByName(h, "pic").bytes));
      db.CloseTable(h);
    }
    state.counters["candidates"] = static_cast<double>(ids.size());
  }
}
BENCHMARK(BM_PaperBuildQueries)->Unit(benchmark::kMillisecond);

}  // namespace
