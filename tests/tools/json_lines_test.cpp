// How examora-bank writes each kind of value, with the expected texts written out by hand
// (dates from the calendar, GUIDs in their registry form), and what the lines parse back to.
#include "json_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

namespace {

using banksrc::FormatDateTime;
using banksrc::JsonLines;

// The line that `write` makes as the only member "v" of a row.
template <typename Fn>
std::string Line(Fn write) {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* memory = open_memstream(&data, &size);
  {
    JsonLines out(memory);
    out.BeginRow();
    out.Member(JsonLines::Quote("v"));
    write(out);
    EXPECT_TRUE(out.EndRow());
    EXPECT_TRUE(out.Flush());
  }
  std::fclose(memory);
  std::string line(data, size);
  std::free(data);
  return line;
}

nlohmann::json Parsed(const std::string& line) { return nlohmann::json::parse(line)["v"]; }

TEST(JsonLinesTest, DatesFollowTheCalendarFrom1899_12_30) {
  EXPECT_EQ(FormatDateTime(0), "1899-12-30T00:00:00");
  EXPECT_EQ(FormatDateTime(2.5), "1900-01-01T12:00:00");
  EXPECT_EQ(FormatDateTime(60), "1900-02-28T00:00:00");  // 1900 is no leap year
  EXPECT_EQ(FormatDateTime(61), "1900-03-01T00:00:00");
  EXPECT_EQ(FormatDateTime(27293), "1974-09-21T00:00:00");
  EXPECT_EQ(FormatDateTime(36585), "2000-02-29T00:00:00");
  EXPECT_EQ(FormatDateTime(46023.75), "2026-01-01T18:00:00");
  EXPECT_EQ(FormatDateTime(2958465.0), "9999-12-31T00:00:00");
  EXPECT_EQ(FormatDateTime(-657434.0), "0100-01-01T00:00:00");
}

TEST(JsonLinesTest, BeforeTheEpochTheFractionIsStillTheTimeOfDay) {
  EXPECT_EQ(FormatDateTime(-1.25), "1899-12-29T06:00:00");
  EXPECT_EQ(FormatDateTime(-0.5), "1899-12-30T12:00:00");
  EXPECT_EQ(FormatDateTime(-2.75), "1899-12-28T18:00:00");
}

TEST(JsonLinesTest, TimesRoundToTheNearestSecondAcrossMidnight) {
  EXPECT_EQ(FormatDateTime(1.0 + 3661.4 / 86400), "1899-12-31T01:01:01");
  EXPECT_EQ(FormatDateTime(1.0 + 3661.6 / 86400), "1899-12-31T01:01:02");
  EXPECT_EQ(FormatDateTime(1.9999999), "1900-01-01T00:00:00");
  EXPECT_EQ(FormatDateTime(-1.9999999), "1899-12-30T00:00:00");
}

TEST(JsonLinesTest, DatesOutsideAccessesYearsStayNumbers) {
  EXPECT_EQ(FormatDateTime(-657435.0), "");
  EXPECT_EQ(FormatDateTime(2958466.0), "");
  EXPECT_EQ(FormatDateTime(2958465.99999999), "");  // rounds into the year 10000
  EXPECT_EQ(FormatDateTime(std::nan("")), "");
  EXPECT_EQ(Line([](JsonLines& o) { o.DateTime(1e9); }), "{\"v\":1e+09}\n");
  EXPECT_EQ(Line([](JsonLines& o) { o.DateTime(2.5); }), "{\"v\":\"1900-01-01T12:00:00\"}\n");
}

TEST(JsonLinesTest, CurrencyKeepsFourDecimalsAndItsSign) {
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Currency(35000); })), "3.5000");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Currency(0); })), "0.0000");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Currency(1); })), "0.0001");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Currency(-1); })), "-0.0001");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Currency(-123456789); })), "-12345.6789");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Currency(std::numeric_limits<int64_t>::min()); })),
            "-922337203685477.5808");
}

TEST(JsonLinesTest, RealsAreTheShortestTextThatReadsBack) {
  EXPECT_EQ(Line([](JsonLines& o) { o.Real(0.1); }), "{\"v\":0.1}\n");
  EXPECT_EQ(Line([](JsonLines& o) { o.Real(444.555); }), "{\"v\":444.555}\n");
  EXPECT_EQ(Line([](JsonLines& o) { o.Real(0.1f); }), "{\"v\":0.1}\n");
  for (double d : {1.0 / 3, 5e-324, 1.7976931348623157e308, -2.5e-10}) {
    EXPECT_EQ(Parsed(Line([d](JsonLines& o) { o.Real(d); })).get<double>(), d);
  }
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Real(std::nan("")); })), "NaN");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Real(-HUGE_VAL); })), "-Infinity");
}

TEST(JsonLinesTest, GuidPrintsItsFirstThreeGroupsLittleEndian) {
  // {6B29FC40-CA47-1067-B31D-00DD010662DA} as Windows stores it.
  const std::array<uint8_t, 16> stored = {0x40, 0xFC, 0x29, 0x6B, 0x47, 0xCA, 0x67, 0x10,
                                          0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA};
  EXPECT_EQ(Parsed(Line([&](JsonLines& o) { o.Guid(stored); })),
            "{6B29FC40-CA47-1067-B31D-00DD010662DA}");
}

TEST(JsonLinesTest, BytesAreHexInAnObject) {
  const uint8_t bytes[] = {0x00, 0x0f, 0xa0, 0xff};
  EXPECT_EQ(Line([&](JsonLines& o) { o.Hex(bytes, sizeof bytes); }),
            "{\"v\":{\"hex\":\"000fa0ff\"}}\n");
  EXPECT_EQ(Line([&](JsonLines& o) { o.Hex(bytes, 0); }), "{\"v\":{\"hex\":\"\"}}\n");
}

TEST(JsonLinesTest, TextsComeBackAsTheyWent) {
  for (const std::string& s : {std::string("题库 \"A\" \\ /"), std::string("line\nbreak\ttab"),
                               std::string("\x01\x1f", 2), std::string("\0nul", 4)}) {
    EXPECT_EQ(Parsed(Line([&](JsonLines& o) { o.Text(s); })), s);
  }
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Text(std::u16string_view(u"\U0001F600 €")); })),
            "\U0001F600 €");
  // An unpaired surrogate (a damaged text) becomes U+FFFD, never invalid JSON.
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Text(std::u16string(1, u'\xD800')); })), "\uFFFD");
  EXPECT_EQ(Parsed(Line([](JsonLines& o) { o.Text(std::string_view("\xFF")); })), "\uFFFD");
}

TEST(JsonLinesTest, ManyRowsReachTheStreamWholeAndInOrder) {
  char* data = nullptr;
  size_t size = 0;
  std::FILE* memory = open_memstream(&data, &size);
  const std::string name = JsonLines::Quote("n");
  {
    JsonLines out(memory);
    for (int i = 0; i < 20000; ++i) {
      out.BeginRow();
      out.Member(name);
      out.Integer(i);
      ASSERT_TRUE(out.EndRow());
      if (i == 100) {  // a row dropped halfway leaves nothing behind
        out.BeginRow();
        out.Member(name);
        out.DropRow();
      }
    }
    ASSERT_TRUE(out.Flush());
  }
  std::fclose(memory);
  std::string all(data, size);
  std::free(data);
  size_t at = 0;
  for (int i = 0; i < 20000; ++i) {
    const size_t end = all.find('\n', at);
    ASSERT_NE(end, std::string::npos) << i;
    ASSERT_EQ(nlohmann::json::parse(all.substr(at, end - at))["n"], i);
    at = end + 1;
  }
  EXPECT_EQ(at, all.size());
}

}  // namespace
