// src/jet/writer_header.cpp
// Page 0 (the database header) and page 1 (the database-wide free-page map) of a new file.
//
// Page 0:
//   offset  size  content
//   0x00    4     00 01 00 00
//   0x04    16    "Standard Jet DB\0"
//   0x14    4     version: 1 = Jet 4
//   0x18    128   region XOR-ed with RC4 under the key C7 DA 39 6B (fresh state), holding:
//     0x18  24      constants Jet always writes
//     0x3C  2       code page (1252)
//     0x3E  4       database key: 0 = pages not encoded
//     0x42  40      password, UCS-2 padded with zeros, each byte XOR-ed with byte (i mod 4) of
//                   int32(trunc(creation date)) in little-endian order
//     0x6A  4       a value Jet varies between files; readers ignore it
//     0x6E  4       sort order: LCID 0x0409 ("General"), version 0
//     0x72  8       creation date, f64 days since 1899-12-30
//   0x98    4     0x654        } constants found in every Jet-made file,
//   0x9C    4     "4.0\0"      } not read by anyone we know of
//   0xE00   512   01 01, then 255 x 00 01
#include <cassert>
#include <cmath>
#include <cstring>

#include "base/rc4.h"
#include "jet/bytes.h"
#include "jet/writer_internal.h"

namespace jet::writer_internal {

namespace {

using format::kHeaderKey;
using format::kMaskedSize;
using format::kMaskedStart;
constexpr uint8_t kRegionStart[24] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                      0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                      0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
constexpr uint16_t kCodePage = 1252;
constexpr uint16_t kGeneralSortOrder = 0x0409;
constexpr uint32_t kUnknownCounter = 0x261C;  // as in a database Jet created itself
constexpr size_t kPasswordField = format::kPasswordBytes;

}  // namespace

void EncodeHeaderPage(std::u16string_view password, double creation_date, uint8_t* page) {
  assert(password.size() <= kPasswordField / 2);
  std::memset(page, 0, kPageSize);
  page[1] = 0x01;
  std::memcpy(page + format::kSignatureOffset, "Standard Jet DB", 16);
  StoreU32(page + format::kVersionOffset, 1);

  uint8_t* region = page + kMaskedStart;
  std::memcpy(region, kRegionStart, sizeof kRegionStart);
  StoreU16(page + format::kCodePageOffset, kCodePage);
  StoreU32(page + format::kDatabaseKeyOffset, 0);
  // The caller keeps the date in [0, 2^31): the mask is its whole part as an int32.
  const auto day = static_cast<uint32_t>(static_cast<int32_t>(std::trunc(creation_date)));
  uint8_t mask[4];
  StoreU32(mask, day);
  uint8_t field[kPasswordField] = {};
  for (size_t i = 0; i < password.size(); ++i) StoreU16(field + 2 * i, password[i]);
  for (size_t i = 0; i < kPasswordField; ++i) {
    page[format::kPasswordOffset + i] = static_cast<uint8_t>(field[i] ^ mask[i % 4]);
  }
  StoreU32(page + 0x6A, kUnknownCounter);
  StoreU16(page + format::kSortOrderOffset, kGeneralSortOrder);
  StoreF64(page + format::kCreationDateOffset, creation_date);
  base::Rc4(std::span<const uint8_t>(kHeaderKey)).Apply(std::span<uint8_t>(region, kMaskedSize));

  StoreU32(page + 0x98, 0x654);
  std::memcpy(page + 0x9C, "4.0", 4);
  page[0xE00] = 0x01;
  page[0xE01] = 0x01;
  for (size_t at = 0xE02; at < 0x1000; at += 2) page[at + 1] = 0x01;
}

void EncodeFreePageMap(uint32_t page_count, uint8_t* page) {
  std::memset(page, 0, kPageSize);
  page[0] = 0x01;
  page[1] = 0x01;
  StoreU32(page + 4, 1);
  StoreU16(page + 12, 2);
  const size_t row0 = kPageSize - kUsageMapRowSize;
  const size_t row1 = row0 - kUsageMapRowSize;
  StoreU16(page + 14, static_cast<uint16_t>(row0));
  StoreU16(page + 16, static_cast<uint16_t>(row1));
  StoreU16(page + 2, static_cast<uint16_t>(row1 - 14 - 4));
  // Row 0: type 0 from page 0; a set bit marks a free page.
  uint8_t* bitmap = page + row0 + 5;
  for (uint32_t p = page_count; p < kInlineMapPages; ++p) {
    bitmap[p / 8] = static_cast<uint8_t>(bitmap[p / 8] | (1u << (p % 8)));
  }
}

}  // namespace jet::writer_internal
