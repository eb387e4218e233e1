#include "json_lines.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>
#include <utility>

#include "text/gbk.h"

namespace banksrc {

namespace {

// Rows gather in the buffer until it holds this much; one write then sends them.
constexpr size_t kFlushAt = size_t{1} << 16;

// Access keeps dates between 100-01-01 and 9999-12-31.
constexpr double kFirstDay = -657434.0;
constexpr double kPastLastDay = 2958466.0;
// 1899-12-30, where the day count starts, counted from 1970-01-01.
constexpr int64_t kEpochFromUnix = -25569;

constexpr std::array<char, 512> MakeHexPairs(const char* digits) {
  std::array<char, 512> pairs{};
  for (size_t i = 0; i < 256; ++i) {
    pairs[2 * i] = digits[i >> 4];
    pairs[2 * i + 1] = digits[i & 15];
  }
  return pairs;
}
constexpr std::array<char, 512> kLowerHex = MakeHexPairs("0123456789abcdef");
constexpr std::array<char, 512> kUpperHex = MakeHexPairs("0123456789ABCDEF");

struct Civil {
  int64_t year;
  int month, day;
};

// The calendar date `z` days after 1970-01-01 (proleptic Gregorian; H. Hinnant's algorithm).
Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Writes `value` as `width` decimal digits with leading zeros at `out`.
void PutDigits(char* out, int64_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

}  // namespace

std::string FormatDateTime(double days) {
  if (!std::isfinite(days) || days < kFirstDay || days >= kPastLastDay) return {};
  const double whole = std::trunc(days);
  int64_t day = static_cast<int64_t>(whole);
  int64_t seconds = std::llround(std::fabs(days - whole) * 86400.0);
  if (seconds >= 86400) {  // rounded up to the next midnight
    seconds -= 86400;
    ++day;
  }
  const Civil date = CivilFromDays(day + kEpochFromUnix);
  if (date.year < 100 || date.year > 9999) return {};
  std::string out = "0000-00-00T00:00:00";
  PutDigits(&out[0], date.year, 4);
  PutDigits(&out[5], date.month, 2);
  PutDigits(&out[8], date.day, 2);
  PutDigits(&out[11], seconds / 3600, 2);
  PutDigits(&out[14], seconds / 60 % 60, 2);
  PutDigits(&out[17], seconds % 60, 2);
  return out;
}

JsonLines::JsonLines(std::FILE* out) : out_(out) { buffer_.reserve(2 * kFlushAt); }

std::string JsonLines::Quote(std::string utf8) {
  return nlohmann::json(std::move(utf8))
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void JsonLines::Member(std::string_view quoted_name) {
  if (!first_) buffer_.push_back(',');
  first_ = false;
  buffer_.append(quoted_name);
  buffer_.push_back(':');
}

base::Result<void> JsonLines::EndRow() {
  buffer_.append("}\n");
  if (buffer_.size() >= kFlushAt) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
      return base::MakeError(base::ErrorCode::kIo, "cannot write the output");
    }
    buffer_.clear();
  }
  return base::Ok();
}

base::Result<void> JsonLines::Flush() {
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size() ||
      std::fflush(out_) != 0) {
    return base::MakeError(base::ErrorCode::kIo, "cannot write the output");
  }
  buffer_.clear();
  return base::Ok();
}

template <typename T>
void JsonLines::Number(T value) {
  char digits[64];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  buffer_.append(digits, ec == std::errc() ? end : digits);
}

void JsonLines::Integer(int64_t n) { Number(n); }

void JsonLines::Real(double d) {
  if (std::isnan(d)) {
    buffer_.append("\"NaN\"");
  } else if (std::isinf(d)) {
    buffer_.append(d > 0 ? "\"Infinity\"" : "\"-Infinity\"");
  } else {
    Number(d);
  }
}

// A single keeps its own shortest form (0.1f prints as 0.1, not as the double it widens to).
void JsonLines::Real(float f) {
  if (std::isfinite(f)) {
    Number(f);
  } else {
    Real(static_cast<double>(f));
  }
}

void JsonLines::Currency(int64_t scaled) {
  const uint64_t magnitude =
      scaled < 0 ? uint64_t{0} - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  buffer_.push_back('"');
  if (scaled < 0) buffer_.push_back('-');
  Number(magnitude / 10000);
  char fraction[5] = {'.'};
  PutDigits(fraction + 1, static_cast<int64_t>(magnitude % 10000), 4);
  buffer_.append(fraction, 5);
  buffer_.push_back('"');
}

void JsonLines::DateTime(double days) {
  const std::string text = FormatDateTime(days);
  if (text.empty()) {
    Real(days);
    return;
  }
  buffer_.push_back('"');
  buffer_.append(text);
  buffer_.push_back('"');
}

void JsonLines::Guid(const std::array<uint8_t, 16>& bytes) {
  // Stored order of the bytes for each printed position: Data1 (4 bytes), Data2, Data3 are
  // little-endian numbers; the last eight bytes print as they lie.
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  char out[38];
  char* p = out;
  *p++ = '{';
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) *p++ = '-';
    std::memcpy(p, &kUpperHex[2 * size_t{bytes[static_cast<size_t>(kOrder[i])]}], 2);
    p += 2;
  }
  *p++ = '}';
  buffer_.push_back('"');
  buffer_.append(out, static_cast<size_t>(p - out));
  buffer_.push_back('"');
}

void JsonLines::Text(std::string_view utf8) { buffer_.append(Quote(std::string(utf8))); }

void JsonLines::Text(std::u16string_view utf16) { buffer_.append(Quote(text::Utf16ToUtf8(utf16))); }

void JsonLines::Hex(const uint8_t* bytes, size_t size) {
  buffer_.append("{\"hex\":\"");
  const size_t at = buffer_.size();
  buffer_.resize(at + 2 * size);
  char* p = buffer_.data() + at;
  for (size_t i = 0; i < size; ++i, p += 2) std::memcpy(p, &kLowerHex[2 * size_t{bytes[i]}], 2);
  buffer_.append("\"}");
}

}  // namespace banksrc
