// Files made by the writer, read back by two readers nobody here wrote: mdbtools (mdb-tables,
// mdb-schema, mdb-export) and the npm package mdb-reader (through tests/oracle/dump.mjs).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>

#include "jet/writer.h"
#include "jet/writer_internal.h"
#include "support/process.h"

namespace {

using jet::CellValue;
using jet::ColumnType;
using jet::WriterTable;
using Json = nlohmann::json;
using testing_support::RunCommand;
using testing_support::ShellQuote;
using testing_support::Split;
using testing_support::TempDir;

const std::filesystem::path kOracleDir = std::filesystem::path(EXAMORA_SOURCE_DIR) / "tests/oracle";

bool HaveMdbTools() { return testing_support::HaveCommand("mdb-export"); }
bool HaveNodeOracle() {
  return testing_support::HaveCommand("node") &&
         std::filesystem::exists(kOracleDir / "node_modules/mdb-reader");
}

std::string Hex(const std::vector<uint8_t>& bytes, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 15]);
  }
  return out;
}

constexpr size_t kMdbToolsTextLimit = 199999;

std::string Utf8(const std::u16string& s) { return jet::writer_internal::Utf16ToUtf8(s); }

class WriterOracleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveMdbTools()) GTEST_SKIP() << "mdbtools not installed";
  }

  std::string Write(const std::vector<WriterTable>& tables, const jet::WriterOptions& options = {},
                    const std::string& name = "out.mdb") {
    auto bytes = jet::WriteDatabase(tables, options);
    EXPECT_TRUE(bytes) << bytes.error().message;
    if (!bytes) return {};
    const std::filesystem::path path = dir_ / name;
    testing_support::WriteBytes(path, *bytes);
    return path.string();
  }

  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (auto& line : Split(text, '\n')) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  // mdb-export's cells, one vector per row, header row dropped.
  static std::vector<std::vector<std::string>> Export(const std::string& path,
                                                      const std::string& table) {
    int status = 0;
    const std::string out = RunCommand("mdb-export -Q -d '<|c|>' -R '<|r|>' -b hex -0 @NULL@ " +
                                           ShellQuote(path) + " " + ShellQuote(table),
                                       &status);
    EXPECT_EQ(status, 0) << "mdb-export " << table;
    std::vector<std::vector<std::string>> rows;
    size_t start = 0;
    bool header = true;
    while (start < out.size()) {
      size_t end = out.find("<|r|>", start);
      if (end == std::string::npos) end = out.size();
      std::string line = out.substr(start, end - start);
      start = end + 5;
      std::vector<std::string> cells;
      size_t from = 0;
      while (true) {
        const size_t at = line.find("<|c|>", from);
        cells.push_back(line.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) break;
        from = at + 5;
      }
      if (!header) rows.push_back(std::move(cells));
      header = false;
    }
    return rows;
  }

  static Json Dump(const std::string& path, const std::string& password = "", bool system = false) {
    int status = 0;
    std::string command =
        "node " + ShellQuote((kOracleDir / "dump.mjs").string()) + " " + ShellQuote(path);
    if (!password.empty()) command += " " + ShellQuote(password);
    if (system) command += " --system";
    const std::string out = RunCommand(command, &status);
    EXPECT_EQ(status, 0) << command;
    Json json = Json::parse(out, nullptr, /*allow_exceptions=*/false);
    EXPECT_FALSE(json.is_discarded()) << "unparsable dump of " << path;
    return json.is_discarded() ? Json{} : json;
  }

  // How mdb-export prints `value` (empty texts come out as null there).
  static void ExpectExported(const CellValue& value, const std::string& cell,
                             const std::string& where) {
    std::visit(
        [&](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, std::monostate>) {
            EXPECT_EQ(cell, "@NULL@") << where;
          } else if constexpr (std::is_same_v<V, bool>) {
            EXPECT_EQ(cell, v ? "1" : "0") << where;
          } else if constexpr (std::is_same_v<V, double>) {
            const double got = std::strtod(cell.c_str(), nullptr);
            EXPECT_NEAR(got, v, std::fabs(v) * 1e-15) << where << ": " << cell;
          } else if constexpr (std::is_same_v<V, std::u16string>) {
            // mdbtools prints each half of a surrogate pair as '?' and stops a text at its
            // output buffer of 200,000 bytes.
            std::u16string shown = v;
            for (char16_t& c : shown) {
              if (c >= 0xD800 && c <= 0xDFFF) c = u'?';
            }
            const std::string want = v.empty() ? "@NULL@" : Utf8(shown);
            if (want.size() < kMdbToolsTextLimit) {
              EXPECT_EQ(cell, want) << where;
            } else {
              EXPECT_GE(cell.size(), kMdbToolsTextLimit - 4) << where;
              EXPECT_EQ(want.compare(0, cell.size(), cell), 0) << where;
            }
          } else if constexpr (std::is_same_v<V, std::vector<uint8_t>>) {
            EXPECT_EQ(cell, Hex(v, true)) << where;
          } else {
            EXPECT_EQ(cell, std::to_string(v)) << where;
          }
        },
        value);
  }

  // How mdb-reader reports `value`, as dump.mjs prints it.
  static void ExpectDumped(const CellValue& value, const Json& cell, const std::string& where) {
    std::visit(
        [&](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, std::monostate>) {
            EXPECT_TRUE(cell.is_null()) << where;
          } else if constexpr (std::is_same_v<V, bool>) {
            ASSERT_TRUE(cell.is_boolean()) << where;
            EXPECT_EQ(cell.get<bool>(), v) << where;
          } else if constexpr (std::is_same_v<V, std::u16string>) {
            ASSERT_TRUE(cell.is_string()) << where;
            EXPECT_EQ(cell.get<std::string>(), Utf8(v)) << where;
          } else if constexpr (std::is_same_v<V, std::vector<uint8_t>>) {
            EXPECT_EQ(cell, Hex(v, false)) << where;
          } else {
            ASSERT_TRUE(cell.is_number()) << where;
            EXPECT_EQ(cell.get<double>(), static_cast<double>(v)) << where << ": " << cell.dump();
          }
        },
        value);
  }

  void ExpectBothReadersSee(const std::string& path, const WriterTable& table,
                            const std::string& password = "") {
    const auto exported = Export(path, table.name);
    ASSERT_EQ(exported.size(), table.rows.size()) << "mdb-export " << table.name;
    for (size_t r = 0; r < table.rows.size(); ++r) {
      ASSERT_EQ(exported[r].size(), table.columns.size()) << "mdb-export row " << r;
      for (size_t c = 0; c < table.columns.size(); ++c) {
        ExpectExported(
            table.rows[r][c], exported[r][c],
            "mdb-export " + table.name + " row " + std::to_string(r) + " " + table.columns[c].name);
      }
    }
    if (!HaveNodeOracle()) return;
    const Json dump = Dump(path, password);
    const Json& t = dump.at("tables").at(table.name);
    ASSERT_EQ(t.at("rows").size(), table.rows.size()) << "mdb-reader " << table.name;
    EXPECT_EQ(t.at("rowCount"), table.rows.size());
    for (size_t r = 0; r < table.rows.size(); ++r) {
      for (size_t c = 0; c < table.columns.size(); ++c) {
        ExpectDumped(
            table.rows[r][c], t.at("rows").at(r).at(table.columns[c].name),
            "mdb-reader " + table.name + " row " + std::to_string(r) + " " + table.columns[c].name);
      }
    }
  }

  TempDir dir_;
};

std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  uint32_t x = seed * 2654435761u + 1;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 16);
  }
  return out;
}

std::u16string Utf16Number(int n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Chinese(size_t chars) {
  const std::u16string base =
      u"机动车驾驶人应当遵守道路交通安全法律法规，按照操作规范安全驾驶、文明驾驶。";
  std::u16string out;
  while (out.size() < chars) out += base;
  out.resize(chars);
  return out;
}

WriterTable AllTypes() {
  WriterTable t;
  t.name = "所有类型";
  t.columns = {{"id", ColumnType::kInt32},       {"标题", ColumnType::kText, 120},
               {"memo", ColumnType::kMemo},      {"picture", ColumnType::kLongBinary},
               {"byte", ColumnType::kByte},      {"small", ColumnType::kInt16},
               {"real", ColumnType::kDouble},    {"yes", ColumnType::kBoolean},
               {"latin", ColumnType::kText, 255}};
  auto row = [](int32_t id, CellValue text, CellValue memo, CellValue pic, CellValue byte,
                CellValue small, CellValue real, bool yes, CellValue latin) {
    return std::vector<CellValue>{id,
                                  std::move(text),
                                  std::move(memo),
                                  std::move(pic),
                                  std::move(byte),
                                  std::move(small),
                                  std::move(real),
                                  yes,
                                  std::move(latin)};
  };
  t.rows = {
      row(1, Chinese(120), std::u16string(u"短"), Pattern(10, 1), uint8_t{0}, int16_t{-32768}, -0.5,
          true, std::u16string(u"Grüße, café")),
      // Long values on one long-value page: 3,000 bytes of text, 4,000 of binary.
      row(2, std::u16string(u"第二题 A/B/C"), Chinese(1500), Pattern(4000, 2), uint8_t{255},
          int16_t{32767}, 1.0 / 3.0, false, std::u16string(255, u'z')),
      // Chained over many pages: 300 KB of each.
      row(3, std::u16string(u"x"), Chinese(150000), Pattern(300 * 1024, 3), uint8_t{7}, int16_t{0},
          6.02214076e23, true, std::u16string(u"ab")),
      // A long memo of Latin text (kept plain above 1,024 characters) and an empty one.
      row(-2147483647 - 1, std::u16string(u"ÿ"), std::u16string(5000, u'q'), std::vector<uint8_t>{},
          uint8_t{128}, int16_t{-1}, -1e-300, false, std::u16string(u"")),
      row(2147483647, CellValue{}, CellValue{}, CellValue{}, CellValue{}, CellValue{}, CellValue{},
          false, CellValue{}),
      // Exactly at the inline limit, and one past it.
      row(6, std::u16string(u"混合 mixed 文本 text"), std::u16string(32, u'驾'), Pattern(64, 6),
          uint8_t{1}, int16_t{2}, 0.0, true, std::u16string(u"x y")),
      row(7, std::u16string(u"\U0001F697 车"), std::u16string(33, u'驾'), Pattern(65, 7),
          uint8_t{2}, int16_t{3}, 123456789.125, true, std::u16string(u"Ünïcödé")),
  };
  return t;
}

TEST_F(WriterOracleTest, AllColumnTypesRoundTripThroughBothReaders) {
  const WriterTable table = AllTypes();
  const std::string path = Write({table});
  ExpectBothReadersSee(path, table);
}

TEST_F(WriterOracleTest, DatesAndShortBinaryRoundTrip) {
  WriterTable table;
  table.name = "Dates";
  table.columns = {{"when", ColumnType::kDateTime}, {"raw", ColumnType::kBinary}};
  table.rows = {{45000.5, std::vector<uint8_t>{0xDE, 0xAD, 0xBE, 0xEF}},
                {36526.75, std::vector<uint8_t>(510, 0x5A)},
                {2.25, CellValue{}}};
  const std::string path = Write({table});
  const auto exported =
      RunCommand("mdb-export -Q -b hex -T '%Y-%m-%d %H:%M:%S' " + ShellQuote(path) + " Dates");
  EXPECT_EQ(
      Lines(exported),
      (std::vector<std::string>{"when,raw", "2023-03-15 12:00:00,DEADBEEF",
                                "2000-01-01 18:00:00," + Hex(std::vector<uint8_t>(510, 0x5A), true),
                                "1900-01-01 06:00:00,"}));
  if (!HaveNodeOracle()) GTEST_SKIP() << "mdb-reader not installed";
  const Json rows = Dump(path).at("tables").at("Dates").at("rows");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows.at(0).at("when"), "2023-03-15T12:00:00.000Z");
  EXPECT_EQ(rows.at(0).at("raw"), "deadbeef");
  EXPECT_EQ(rows.at(1).at("when"), "2000-01-01T18:00:00.000Z");
  EXPECT_EQ(rows.at(1).at("raw"), Hex(std::vector<uint8_t>(510, 0x5A), false));
  EXPECT_EQ(rows.at(2).at("when"), "1900-01-01T06:00:00.000Z");
  EXPECT_TRUE(rows.at(2).at("raw").is_null());
}

TEST_F(WriterOracleTest, SchemaShowsTypesSizesAndTheCatalog) {
  const WriterTable table = AllTypes();
  const std::string path = Write({table});
  const std::string schema = RunCommand("mdb-schema " + ShellQuote(path));
  for (const char* line :
       {"[id]\t\t\tLong Integer", "[标题]\t\t\tText (120)", "[memo]\t\t\tMemo/Hyperlink",
        "[picture]\t\t\tOLE", "[byte]\t\t\tByte", "[small]\t\t\tInteger", "[real]\t\t\tDouble",
        "[yes]\t\t\tBoolean NOT NULL", "[latin]\t\t\tText (255)"}) {
    EXPECT_NE(schema.find(line), std::string::npos) << line << "\n" << schema;
  }
  EXPECT_EQ(Lines(RunCommand("mdb-tables -S -1 " + ShellQuote(path))),
            (std::vector<std::string>{"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships",
                                      "所有类型"}));
  // The catalog lists itself, so it exports too.
  const auto catalog = Export(path, "MSysObjects");
  ASSERT_EQ(catalog.size(), 9u);
  EXPECT_EQ(catalog[0][2], "Tables");
  EXPECT_EQ(catalog[8][2], "所有类型");
  EXPECT_EQ(Export(path, "MSysACEs").size(), 18u);
  EXPECT_TRUE(Export(path, "MSysRelationships").empty());
}

TEST_F(WriterOracleTest, ManyTablesAreListedInTheOrderGiven) {
  std::vector<WriterTable> tables;
  std::vector<std::string> names;
  for (int i = 0; i < 60; ++i) {
    WriterTable t;
    t.name = (i % 2 ? "表" : "Table") + std::to_string(59 - i);
    t.columns = {{"n", ColumnType::kInt32}, {"s", ColumnType::kText, 20}};
    for (int r = 0; r < i % 4; ++r) t.rows.push_back({int32_t{r * i}, std::u16string(u"行")});
    names.push_back(t.name);
    tables.push_back(std::move(t));
  }
  const std::string path = Write(tables);
  EXPECT_EQ(Lines(RunCommand("mdb-tables -1 " + ShellQuote(path))), names);
  for (const WriterTable& t : tables) {
    EXPECT_EQ(Export(path, t.name).size(), t.rows.size()) << t.name;
  }
  if (!HaveNodeOracle()) GTEST_SKIP() << "mdb-reader not installed";
  const Json dump = Dump(path);
  ASSERT_EQ(dump.at("order").size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(dump.at("order").at(i), names[i]);
  ExpectBothReadersSee(path, tables[7]);
}

TEST_F(WriterOracleTest, ThousandsOfRowsOverManyDataPages) {
  WriterTable narrow;
  narrow.name = "Narrow";
  narrow.columns = {
      {"id", ColumnType::kInt32}, {"text", ColumnType::kText, 40}, {"memo", ColumnType::kMemo}};
  for (int i = 0; i < 6000; ++i) {
    narrow.rows.push_back(
        {int32_t{i}, u"第" + Utf16Number(i) + u"题",
         i % 50 == 0 ? CellValue{Chinese(static_cast<size_t>(i % 3000))} : CellValue{}});
  }
  // About two rows a page: the table spans more pages than an inline usage map covers.
  WriterTable wide;
  wide.name = "Wide";
  wide.columns = {{"id", ColumnType::kInt16},
                  {"a", ColumnType::kText, 255},
                  {"b", ColumnType::kText, 255},
                  {"c", ColumnType::kText, 255},
                  {"d", ColumnType::kText, 255}};
  for (int i = 0; i < 1200; ++i) {
    const std::u16string chunk = Chinese(230 + static_cast<size_t>(i % 20));
    wide.rows.push_back({static_cast<int16_t>(i), chunk, chunk, chunk, chunk});
  }
  const std::string path = Write({narrow, wide});
  ASSERT_GT(std::filesystem::file_size(path), 600u * 4096);
  ExpectBothReadersSee(path, narrow);
  ExpectBothReadersSee(path, wide);
}

// A category table with the bank's two indexes and more: both readers still read every value,
// and mdb-schema lists each index with its columns and kind.
TEST_F(WriterOracleTest, IndexedTableReadsUnchangedAndSchemaListsItsIndexes) {
  WriterTable config;
  config.name = "config";
  config.columns = {{"NUMBERID", ColumnType::kText, 6}, {"TESTNAME", ColumnType::kText, 70},
                    {"TESTNUM", ColumnType::kText, 5},  {"RANK", ColumnType::kInt32},
                    {"NOTE", ColumnType::kMemo},        {"C1C2C3C4", ColumnType::kDouble}};
  for (int i = 0; i < 18; ++i) {
    const int code = (i * 5) % 18 + 1;
    std::u16string id = (code < 10 ? u"0" : u"") + Utf16Number(code);
    config.rows.push_back({id, u"第" + id + u"类", Utf16Number((i * 149) % 500),
                           i % 4 == 1 ? CellValue{} : CellValue{int32_t{i % 3 - 1}},
                           i % 6 == 0 ? CellValue{Chinese(300)} : CellValue{}, i * 1.25});
  }
  config.indexes = {{"NUMBERID", {"NUMBERID"}},
                    {"TESTNUM", {"TESTNUM"}},
                    {"RankNum", {"RANK", "NUMBERID"}, true},
                    {"PrimaryKey", {"NUMBERID"}, false, true}};
  WriterTable plain = AllTypes();
  const std::string path = Write({config, plain});
  ExpectBothReadersSee(path, config);
  ExpectBothReadersSee(path, plain);
  const std::string schema = RunCommand("mdb-schema " + ShellQuote(path) + " postgres");
  for (const char* line : {"CREATE INDEX \"config_numberid_idx\" ON \"config\" (\"numberid\");",
                           "CREATE INDEX \"config_testnum_idx\" ON \"config\" (\"testnum\");",
                           "CREATE UNIQUE INDEX \"config_ranknum_idx\" ON \"config\" "
                           "(\"rank\", \"numberid\");",
                           "ALTER TABLE \"config\" ADD CONSTRAINT \"config_pkey\" PRIMARY KEY "
                           "(\"numberid\");"}) {
    EXPECT_NE(schema.find(line), std::string::npos) << line << "\n" << schema;
  }
  EXPECT_EQ(schema.find("CREATE INDEX \"所有类型"), std::string::npos) << schema;
}

TEST_F(WriterOracleTest, PasswordIsReadBackByMdbReader) {
  if (!HaveNodeOracle()) GTEST_SKIP() << "mdb-reader not installed";
  WriterTable table;
  table.name = "T";
  table.columns = {{"v", ColumnType::kByte}};
  table.rows = {{uint8_t{42}}};
  struct Case {
    std::u16string password;
    double date;
  };
  const Case cases[] = {{u"驾考2024!", 45000.0},
                        {u"abcdefghijklmnopqrst", 43831.75},  // 20 characters, no terminator
                        {u"Zz", 70000.5},                     // a day number past 65535
                        {u"", 45000.0}};
  int n = 0;
  for (const Case& c : cases) {
    jet::WriterOptions options;
    options.password = c.password;
    options.creation_date = c.date;
    const std::string path = Write({table}, options, "pw" + std::to_string(n++) + ".mdb");
    const Json dump = Dump(path, Utf8(c.password));
    if (c.password.empty()) {
      EXPECT_TRUE(dump.at("password").is_null());
    } else {
      EXPECT_EQ(dump.at("password"), Utf8(c.password));
    }
    EXPECT_EQ(dump.at("tables").at("T").at("rows").at(0).at("v"), 42);
    EXPECT_EQ(Export(path, "T").size(), 1u);
  }
}

}  // namespace
