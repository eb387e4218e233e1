// src/jet/reader_internal.h
// What the reader's files share: the error for a damaged file, bounds checks, names for
// messages, and where a column's bytes sit in a row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "jet/database.h"

namespace jet::reader_internal {

// The most pages a connection keeps read (16 MiB).
inline constexpr size_t kMaxCachedPages = 4096;

inline base::Unexpected<base::Error> Corrupt(std::string what) {
  return base::MakeError(base::ErrorCode::kCorrupt, "damaged database: " + std::move(what));
}

// Whether `size` bytes at `offset` lie inside `bytes`.
inline bool Has(std::span<const uint8_t> bytes, size_t offset, size_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

// A name for a message: ASCII as it is, anything else as "?".
inline std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Where a column's bytes sit in a row, or that the row has no value for it.
struct Field {
  bool present = false;
  size_t offset = 0;
  size_t size = 0;
  bool bit = false;  // the null-mask bit (a boolean's value)
};

base::Result<Field> Locate(const TableDef& table, std::span<const uint8_t> row, const Column& c);

}  // namespace jet::reader_internal

namespace jet {
// The reader's files use these unqualified.
using base::ErrorCode;
using base::MakeError;
using base::Result;
using reader_internal::Corrupt;
using reader_internal::Has;
using reader_internal::Narrow;
}  // namespace jet
