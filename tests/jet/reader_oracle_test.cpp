// Every user table of every sample file, read by our engine, against mdb-export's reading.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "jet/database.h"
#include "support/process.h"
#include "text/gbk.h"

namespace {

using testing_support::HaveCommand;
using testing_support::RunCommand;
using testing_support::ShellQuote;
using testing_support::Split;

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string out;
  char buf[3];
  for (uint8_t b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    out += buf;
  }
  return out;
}

std::string FormatDate(double days) {
  // Whole days since 1899-12-30 and the time of day, as the export prints them.
  auto whole = static_cast<int64_t>(std::floor(days));
  auto seconds = static_cast<int64_t>(std::llround((days - static_cast<double>(whole)) * 86400.0));
  if (seconds >= 86400) {
    ++whole;
    seconds -= 86400;
  }
  // Civil date from a day number (days since 1970-01-01 = whole - 25569).
  int64_t z = whole - 25569 + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buf[128];
  std::snprintf(buf, sizeof buf,
                "%04" PRId64 "-%02" PRId64 "-%02" PRId64 " %02" PRId64 ":%02" PRId64 ":%02" PRId64,
                y, m, d, seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

std::string Format(const jet::Value& v) {
  struct Visitor {
    std::string operator()(std::monostate) { return "@NULL@"; }
    std::string operator()(bool b) { return b ? "1" : "0"; }
    std::string operator()(uint8_t x) { return std::to_string(x); }
    std::string operator()(int16_t x) { return std::to_string(x); }
    std::string operator()(int32_t x) { return std::to_string(x); }
    std::string operator()(jet::Currency c) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(c.scaled) / 10000.0);
      return buf;
    }
    std::string operator()(float f) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.*g", 7, static_cast<double>(f));
      return buf;
    }
    std::string operator()(double d) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.*g", 16, d);
      return buf;
    }
    std::string operator()(jet::DateTime t) { return FormatDate(t.days); }
    std::string operator()(const std::vector<uint8_t>& b) { return Hex(b); }
    std::string operator()(const std::u16string& s) { return text::Utf16ToUtf8(s); }
    std::string operator()(const jet::Guid& g) {
      const auto& b = g.bytes;
      char buf[64];
      std::snprintf(buf, sizeof buf,
                    "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                    b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12],
                    b[13], b[14], b[15]);
      return buf;
    }
    std::string operator()(const jet::Numeric& n) { return n.ToString(); }
  };
  return std::visit(Visitor{}, v);
}

// The export's known quirks, applied to our value before comparing.
std::string AsExported(const jet::Column& c, const jet::Value& v) {
  std::string s = Format(v);
  if (std::holds_alternative<std::u16string>(v) && s.empty()) return "@NULL@";
  if (c.type == jet::ColumnType::kBinary && std::holds_alternative<std::vector<uint8_t>>(v)) {
    // Short binary values are cut at their first zero byte.
    const auto& b = std::get<std::vector<uint8_t>>(v);
    auto zero = std::find(b.begin(), b.end(), uint8_t{0});
    if (zero == b.begin()) return "@NULL@";
    return Hex(std::vector<uint8_t>(b.begin(), zero));
  }
  return s;
}

std::vector<std::string> SplitOn(const std::string& s, const std::string& sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = s.find(sep, start)) != std::string::npos; start = at + sep.size()) {
    parts.push_back(s.substr(start, at - start));
  }
  parts.push_back(s.substr(start));
  return parts;
}

struct SampleTable {
  std::string file;
  std::string table;
  friend void PrintTo(const SampleTable& t, std::ostream* os) { *os << t.file << ":" << t.table; }
};

std::vector<SampleTable> AllSampleTables() {
  std::vector<SampleTable> out;
  for (const char* file : {"delColTestV2000.mdb", "delTestV2000.mdb", "fixedNumericTestV2000.mdb",
                           "fixedTextTestV2000.mdb", "indexTestV2000.mdb", "noPasswordV2000.mdb",
                           "numericV2000.mdb", "overflowTestV2000.mdb", "passwordV2000.mdb",
                           "test2V2000.mdb", "testUnicodeCompV2003.mdb", "testV2000.mdb"}) {
    const std::string path = std::string(EXAMORA_SAMPLES_DIR) + "/" + file;
    for (const auto& name : Split(RunCommand("mdb-tables -1 " + ShellQuote(path)), '\n')) {
      if (!name.empty()) out.push_back({file, name});
    }
    // Newer Access system tables keep some long-integer columns among the variable ones; the
    // column flags, not the type, say where a value lies. (Other system tables hold values the
    // export prints in its own way and are left out.)
    for (const auto& name : Split(RunCommand("mdb-tables -S -1 " + ShellQuote(path)), '\n')) {
      if (name.starts_with("MSysNavPane") || name.starts_with("f_") ||
          name == "MSysAccessStorage") {
        out.push_back({file, name});
      }
    }
  }
  return out;
}

class ReaderOracle : public ::testing::TestWithParam<SampleTable> {};

TEST_P(ReaderOracle, EveryCellMatchesMdbExport) {
  if (!HaveCommand("mdb-export")) GTEST_SKIP() << "mdbtools not installed";
  const SampleTable& s = GetParam();
  const std::string path = std::string(EXAMORA_SAMPLES_DIR) + "/" + s.file;
  const std::string password = s.file == "passwordV2000.mdb" ? "password" : "";
  auto db = jet::Database::Open(path, jet::OpenMode::kReadOnly, text::Utf8ToUtf16(password));
  ASSERT_TRUE(db) << db.error().message;
  auto table = (*db)->ReadTable(text::Utf8ToUtf16(s.table));
  ASSERT_TRUE(table) << table.error().message;

  const std::string exported = RunCommand(
      "mdb-export -Q -d '<|col|>' -R '<|row|>' -b hex -T '%Y-%m-%d %H:%M:%S' -0 @NULL@ " +
      ShellQuote(path) + " " + ShellQuote(s.table));
  auto lines = SplitOn(exported, "<|row|>");
  ASSERT_FALSE(lines.empty());
  if (lines.back().empty()) lines.pop_back();
  auto header = SplitOn(lines[0], "<|col|>");
  ASSERT_EQ(header.size(), table->columns.size());
  for (size_t i = 0; i < header.size(); ++i) {
    EXPECT_EQ(header[i], text::Utf16ToUtf8(table->columns[i].name));
  }

  size_t n = 0;
  auto scanned = (*db)->ScanRows(*table, [&](const jet::Row& row) {
    ++n;
    if (n >= lines.size()) return false;
    auto cells = SplitOn(lines[n], "<|col|>");
    EXPECT_EQ(cells.size(), table->columns.size()) << "row " << n;
    for (size_t c = 0; c < table->columns.size() && c < cells.size(); ++c) {
      auto v = (*db)->ReadValue(*table, row, static_cast<int>(c));
      EXPECT_TRUE(v) << v.error().message;
      if (!v) continue;
      std::string ours = AsExported(table->columns[c], *v);
      if (std::holds_alternative<double>(*v) || std::holds_alternative<float>(*v)) {
        // The export prints floating point with its own rounding; compare numerically.
        EXPECT_NEAR(std::strtod(ours.c_str(), nullptr), std::strtod(cells[c].c_str(), nullptr),
                    1e-9 * std::fabs(std::strtod(ours.c_str(), nullptr)) + 1e-12)
            << s.table << " row " << n << " column " << header[c];
      } else {
        EXPECT_EQ(ours, cells[c]) << s.table << " row " << n << " column " << header[c];
      }
    }
    return true;
  });
  ASSERT_TRUE(scanned) << scanned.error().message;
  EXPECT_EQ(n, lines.size() - 1) << "row count";
}

INSTANTIATE_TEST_SUITE_P(Samples, ReaderOracle, ::testing::ValuesIn(AllSampleTables()),
                         [](const ::testing::TestParamInfo<SampleTable>& param) {
                           std::string name = param.param.file + "_" + param.param.table;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
