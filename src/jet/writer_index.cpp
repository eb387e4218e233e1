// src/jet/writer_index.cpp
// Index keys and leaf pages for the writer.
//
// Leaf page (type 0x04), as Access writes an index that fits one page:
//   offset  size  content
//   0       1     0x04
//   1       1     0x01
//   2       2     free space = 4096 - end of the last entry
//   4       4     first definition page of the table
//   8       16    0 (a lone leaf has no previous, next or tail page)
//   24      2     bytes of a prefix shared by the entries (0: Access stores every entry whole)
//   26      1     0
//   27      453   bitmap: bit k set = an entry ends at 480 + k (the first starts at 480)
//   480           entries, in key order, back to back
// Entry: per key column a flag (0x7F value, 0x00 null) and the value's sort bytes, then the row
// pointer as a 3-byte big-endian page and a 1-byte row.
#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>
#include <variant>

#include "jet/bytes.h"
#include "jet/writer_internal.h"

namespace jet::writer_internal {

namespace {

constexpr uint8_t kLeafPage = 0x04;
constexpr size_t kEntryBitmapOffset = 27;
constexpr uint8_t kKeyPresent = 0x7F;
constexpr uint8_t kKeyNull = 0x00;
// After the sort bytes of a text: the end of the text, and the end of the (here always empty)
// extra bytes that would record accents and other marks.
constexpr uint8_t kEndText = 0x01;
constexpr uint8_t kEndExtra = 0x00;

// Sort bytes of the General order for the characters this writer knows, as Access stores them
// in its text indexes. Digits run 0x36, 0x38 .. 0x48; upper and lower case letters share one
// byte each, with gaps where accented letters sort.
constexpr uint8_t kDigitCodes[10] = {0x36, 0x38, 0x3A, 0x3C, 0x3E, 0x40, 0x42, 0x44, 0x46, 0x48};
constexpr uint8_t kLetterCodes[26] = {0x4A, 0x4C, 0x4D, 0x4F, 0x51, 0x53, 0x55, 0x57, 0x59,
                                      0x5B, 0x5C, 0x5E, 0x60, 0x62, 0x64, 0x66, 0x68, 0x69,
                                      0x6B, 0x6D, 0x6F, 0x71, 0x73, 0x75, 0x76, 0x78};

// The sort byte of `c`, or 0 when it is not known.
uint8_t SortCode(char16_t c) {
  if (c >= u'0' && c <= u'9') return kDigitCodes[c - u'0'];
  if (c >= u'A' && c <= u'Z') return kLetterCodes[c - u'A'];
  if (c >= u'a' && c <= u'z') return kLetterCodes[c - u'a'];
  return 0;
}

std::string Describe(char16_t c) {
  if (c >= 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
  static const char* const kHex = "0123456789ABCDEF";
  std::string out = "U+";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(c >> shift) & 0xF]);
  return out;
}

}  // namespace

Result<void> AppendIndexKey(ColumnType type, const CellValue& value, std::vector<uint8_t>* key) {
  if (std::holds_alternative<std::monostate>(value)) {
    key->push_back(kKeyNull);
    return base::Ok();
  }
  if (type == ColumnType::kInt32) {
    const int32_t* n = std::get_if<int32_t>(&value);
    assert(n != nullptr);
    const uint32_t flipped = static_cast<uint32_t>(*n) ^ 0x80000000u;
    key->push_back(kKeyPresent);
    for (int shift = 24; shift >= 0; shift -= 8)
      key->push_back(static_cast<uint8_t>(flipped >> shift));
    return base::Ok();
  }
  if (type == ColumnType::kText) {
    const std::u16string* text = std::get_if<std::u16string>(&value);
    assert(text != nullptr);
    if (text->empty()) {
      return base::MakeError(base::ErrorCode::kUnsupported,
                             "the writer does not index an empty text");
    }
    key->push_back(kKeyPresent);
    for (char16_t c : *text) {
      const uint8_t code = SortCode(c);
      if (code == 0) {
        return base::MakeError(base::ErrorCode::kUnsupported,
                               "the writer does not know where " + Describe(c) +
                                   " sorts in an index (it indexes ASCII letters and digits)");
      }
      key->push_back(code);
    }
    key->push_back(kEndText);
    key->push_back(kEndExtra);
    return base::Ok();
  }
  return base::MakeError(
      base::ErrorCode::kUnsupported,
      std::string("the writer does not index a column of type ") + ColumnTypeName(type));
}

void SortIndexEntries(std::vector<IndexEntry>* entries) {
  std::sort(entries->begin(), entries->end(), [](const IndexEntry& a, const IndexEntry& b) {
    if (a.key != b.key) return a.key < b.key;
    return a.row_pointer < b.row_pointer;
  });
}

void EncodeLeafPage(std::span<const IndexEntry> entries, uint32_t tdef_page, uint8_t* page) {
  page[0] = kLeafPage;
  page[1] = 0x01;
  StoreU32(page + 4, tdef_page);
  size_t at = kLeafHeaderSize;
  for (const IndexEntry& entry : entries) {
    assert(at + IndexEntrySize(entry) <= kPageSize);
    std::memcpy(page + at, entry.key.data(), entry.key.size());
    at += entry.key.size();
    page[at++] = static_cast<uint8_t>(PageOf(entry.row_pointer) >> 16);
    page[at++] = static_cast<uint8_t>(PageOf(entry.row_pointer) >> 8);
    page[at++] = static_cast<uint8_t>(PageOf(entry.row_pointer));
    page[at++] = static_cast<uint8_t>(RowOf(entry.row_pointer));
    const size_t bit = at - kLeafHeaderSize;
    page[kEntryBitmapOffset + bit / 8] =
        static_cast<uint8_t>(page[kEntryBitmapOffset + bit / 8] | (1u << (bit % 8)));
  }
  StoreU16(page + 2, static_cast<uint16_t>(kPageSize - at));
}

}  // namespace jet::writer_internal
