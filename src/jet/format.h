// src/jet/format.h
// The Jet 4 file format in one place: page size, page kinds, and the offsets of the fields of
// the header page, data pages, table definitions, usage maps and long values, as the reader,
// the in-place update and the writer all use them. ../shared/jet4-format.md describes them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace jet::format {

inline constexpr size_t kPageSize = 4096;

// The first byte of every page but the header page.
enum PageKind : uint8_t {
  kDataPage = 0x01,
  kTableDefinitionPage = 0x02,
  kIntermediateIndexPage = 0x03,
  kLeafIndexPage = 0x04,
  kUsageMapPage = 0x05,
};

// ---- page 0, the header
inline constexpr size_t kSignatureOffset = 0x04;  // "Standard Jet DB\0"
inline constexpr size_t kVersionOffset = 0x14;    // u32: 0 Jet 3, 1 Jet 4
// The region 0x18..0x97 is XOR-ed with RC4 under this fixed key (a fresh key state).
inline constexpr uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
inline constexpr size_t kMaskedStart = 0x18;
inline constexpr size_t kMaskedSize = 128;
// Inside the masked region (file offsets):
inline constexpr size_t kCodePageOffset = 0x3C;     // u16
inline constexpr size_t kDatabaseKeyOffset = 0x3E;  // u32: 0 = pages not encoded
inline constexpr size_t kPasswordOffset = 0x42;     // 40 bytes, masked with the date
inline constexpr size_t kPasswordBytes = 40;
inline constexpr size_t kSortOrderOffset = 0x6E;     // u16 LCID, u16 version
inline constexpr size_t kCreationDateOffset = 0x72;  // f64 days since 1899-12-30
// The catalog (MSysObjects) starts on this page.
inline constexpr uint32_t kCatalogPage = 2;

// ---- data pages
inline constexpr size_t kPageFreeSpaceOffset = 2;  // u16
inline constexpr size_t kPageOwnerOffset = 4;      // u32: the table definition page (data)
inline constexpr size_t kRowCountOffset = 12;      // u16
inline constexpr size_t kDataPageHeader = 14;      // then u16 row offsets
// Flags in a row offset; the rest is the row's start in the page.
inline constexpr uint16_t kRowDeletedOrPointer = 0x4000;
inline constexpr uint16_t kRowOffsetMask = 0x1FFF;

// ---- table definitions (one buffer over the definition page and its continuation pages)
inline constexpr size_t kNextDefinitionPageOffset = 4;  // u32, 0 on the last
inline constexpr size_t kContinuationHeader = 8;        // bytes of a continuation page skipped
inline constexpr size_t kTableRowCountOffset = 16;      // u32
inline constexpr size_t kTableKindOffset = 40;          // 'N' user table, 'S' system table
inline constexpr uint8_t kSystemTable = 0x53;
inline constexpr size_t kMaxColumnsOffset = 41;         // u16
inline constexpr size_t kVariableColumnsOffset = 43;    // u16
inline constexpr size_t kColumnCountOffset = 45;        // u16
inline constexpr size_t kLogicalIndexCountOffset = 47;  // u32
inline constexpr size_t kRealIndexCountOffset = 51;     // u32
inline constexpr size_t kOwnedMapOffset = 55;           // u32 row pointer
inline constexpr size_t kFreeMapOffset = 59;            // u32 row pointer
inline constexpr size_t kDefinitionHeader = 63;         // then 12 bytes per real index
inline constexpr size_t kRealIndexCountEntry = 12;
// A column entry and its fields.
inline constexpr size_t kColumnEntrySize = 25;
inline constexpr size_t kColumnTypeAt = 0;
inline constexpr size_t kColumnNumberAt = 5;
inline constexpr size_t kColumnVarIndexAt = 7;
inline constexpr size_t kColumnPrecisionAt = 11;
inline constexpr size_t kColumnScaleAt = 12;
inline constexpr size_t kColumnFlagsAt = 15;
inline constexpr size_t kColumnFixedOffsetAt = 21;
inline constexpr size_t kColumnLengthAt = 23;
inline constexpr size_t kRealIndexSize = 52;
inline constexpr size_t kLogicalIndexSize = 28;

// ---- long values (memo, long binary): a 12-byte field in the row
inline constexpr size_t kLongValueHeader = 12;  // u24 length, u8 kind, u32 row pointer, u32 0
enum LongValueKind : uint8_t {
  kLongValueChain = 0x00,   // a chain of rows, each starting with the next row pointer
  kLongValueSingle = 0x40,  // one row on a long-value page
  kLongValueInline = 0x80,  // the bytes follow the header in the row
};
// Bytes 4..7 of a long-value page: "LVAL".
inline constexpr uint32_t kLongValueOwner = 0x4C41564Cu;

// ---- usage maps: a row of a data page
enum UsageMapKind : uint8_t {
  kInlineMap = 0x00,     // u32 first page, then a bitmap
  kReferenceMap = 0x01,  // u32 numbers of bitmap pages (kUsageMapPage)
};
inline constexpr size_t kInlineMapHeader = 5;
inline constexpr size_t kMapPageHeader = 4;  // a bitmap page's bits start here
inline constexpr size_t kUsageMapRowSize = 69;
inline constexpr size_t kInlineMapPages = 512;
inline constexpr size_t kReferenceMapSlots = 17;
inline constexpr size_t kReferenceMapPagesPerSlot = (kPageSize - kMapPageHeader) * 8;  // 32736

}  // namespace jet::format
