// Small question-bank files for tests, made with the engine's writer.
#pragma once

#include <string>
#include <vector>

#include "bank/schema.h"
#include "jet/writer.h"

namespace testing_support {

inline jet::WriterTable ConfigTable() {
  jet::WriterTable t = bank::schema::ConfigTable();
  auto row = [](const char16_t* id, double c1, double def) {
    return std::vector<jet::CellValue>{std::u16string(id),
                                       std::u16string(u"名称"),
                                       std::monostate{},
                                       std::u16string(u"3"),
                                       c1,
                                       c1,
                                       c1,
                                       c1,
                                       def};
  };
  t.rows = {row(u"01", 30, 0), row(u"02", 20, 0), row(u"11", 0, 30), row(u"18", 0, 0)};
  return t;
}

// A test table of `n` rows per category 01, 02 and 11; reserved = row number % 4; every
// fifth question is true/false (null c and d).
inline jet::WriterTable TestTable(int n) {
  jet::WriterTable t = bank::schema::TestTable();
  int serial = 0;
  for (const char16_t* category : {u"01", u"02", u"11"}) {
    for (int i = 1; i <= n; ++i, ++serial) {
      char16_t digits[6];
      int v = i;
      for (int k = 4; k >= 0; --k, v /= 10) digits[k] = static_cast<char16_t>(u'0' + v % 10);
      digits[5] = 0;
      const std::u16string id = std::u16string(category) + digits;
      const bool tf = serial % 5 == 0;
      std::vector<jet::CellValue> row{
          id,
          std::u16string(u"1.1.1.1 "),
          std::vector<uint8_t>{0x12, 0x34, uint8_t(serial)},
          std::u16string(tf ? u"正确" : u"选项一"),
          std::u16string(tf ? u"错误" : u"选项二"),
          tf ? jet::CellValue{} : jet::CellValue{std::u16string(u"选项三")},
          tf ? jet::CellValue{} : jet::CellValue{std::u16string(u"选项四")},
          std::u16string(u"A"),
          serial % 7 == 0 ? jet::CellValue{std::vector<uint8_t>(5000, uint8_t(serial))}
                          : jet::CellValue{},
          static_cast<int16_t>(serial % 4)};
      t.rows.push_back(std::move(row));
    }
  }
  return t;
}

inline std::vector<uint8_t> BankImage(int per_category, std::u16string password = u"pw") {
  jet::WriterOptions options;
  options.password = std::move(password);
  auto bytes = jet::WriteDatabase({ConfigTable(), TestTable(per_category)}, options);
  return bytes ? *bytes : std::vector<uint8_t>{};
}

}  // namespace testing_support
