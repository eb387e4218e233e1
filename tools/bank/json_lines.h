// JSON lines as examora-bank prints them: one object per row, members in column order, written
// into a buffer that goes out in large blocks. Owns how each kind of value looks:
//
//   null, true, false        null, booleans
//   12, -3                   integers
//   0.1, 1e+300, 3           floating point: the shortest text that reads back to the same
//                            value; "NaN", "Infinity", "-Infinity" as strings
//   "3.5000"                 currency: exact, always four decimals
//   "-12.340"                numeric (decimal): exact, the column's scale
//   "1974-09-21T13:05:00"    date-time, to the nearest second; a value outside the years
//                            100 to 9999 stays the number of days since 1899-12-30
//   "{6B29FC40-CA47-1067-B31D-00DD010662DA}"  GUID, the first three groups little-endian
//   "text"                   texts, as UTF-8
//   {"hex":"ff00"}           binary and long binary (OLE), lower-case hex
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/result.h"

namespace banksrc {

class JsonLines {
 public:
  // Writes to `out`, which must outlive the object. Nothing reaches `out` before a flush, which
  // EndRow does once enough has gathered; the destructor does not flush.
  explicit JsonLines(std::FILE* out);

  // `utf8` as a JSON string with its quotes, as nlohmann/json writes it (invalid UTF-8
  // becomes U+FFFD). For member names, worked out once per column.
  static std::string Quote(std::string utf8);

  void BeginRow() {
    row_start_ = buffer_.size();
    buffer_.push_back('{');
    first_ = true;
  }
  // Forgets the row begun last, for a row that cannot be read to its end.
  void DropRow() { buffer_.resize(row_start_); }
  // `quoted_name` as Quote made it.
  void Member(std::string_view quoted_name);
  base::Result<void> EndRow();

  void Null() { buffer_.append("null"); }
  void Bool(bool b) { buffer_.append(b ? "true" : "false"); }
  void Integer(int64_t n);
  void Real(double d);
  void Real(float f);
  void Currency(int64_t scaled);  // value x 10,000
  void DateTime(double days);     // days since 1899-12-30, the fraction the time of day
  void Guid(const std::array<uint8_t, 16>& bytes);
  void Text(std::string_view utf8);
  void Text(std::u16string_view utf16);
  void Hex(const uint8_t* bytes, size_t size);
  // A value already in its JSON form, such as a quoted decimal.
  void Raw(std::string_view json) { buffer_.append(json); }

  // Sends what is buffered to the stream and flushes it; kIo when the stream refuses.
  base::Result<void> Flush();

 private:
  template <typename T>
  void Number(T value);

  std::FILE* out_;
  std::string buffer_;
  size_t row_start_ = 0;
  bool first_ = true;
};

// "YYYY-MM-DDTHH:MM:SS" for `days` since 1899-12-30 as Access counts them: the whole part is
// the day (counted toward zero), the fraction the time of that day whatever the sign, so that
// -1.25 is 1899-12-29 06:00. Empty when the date falls outside the years 100 to 9999.
std::string FormatDateTime(double days);

}  // namespace banksrc
