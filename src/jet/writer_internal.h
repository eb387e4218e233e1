// src/jet/writer_internal.h
// The pieces the database writer is built from, shared between writer*.cpp and their tests:
// page allocation and row packing, usage maps, text encoding, table layouts and definitions,
// row encoding, index keys and leaf pages, the header page. Nothing here is part of the engine's
// public interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "jet/format.h"
#include "jet/types.h"

namespace jet::writer_internal {

using base::Result;

inline constexpr size_t kPageSize = format::kPageSize;
// Jet 4 files stop at 2 GB; page numbers also have to fit the 24 bits of a row pointer.
inline constexpr uint32_t kMaxPages = 524288;
// The largest row a data page takes: 4096 minus the 14-byte header and one offset entry.
inline constexpr size_t kMaxPageRow = kPageSize - 14 - 2;
// Rows of a table stay at or below this; other engines refuse larger ones.
inline constexpr size_t kMaxTableRow = 4060;
// Rows per data page: the row number of a row pointer is one byte.
inline constexpr size_t kMaxRowsPerPage = 255;
using format::kLongValueOwner;
// Constant Jet stores in every definition and column entry (DO NOT CHANGE: on disk).
inline constexpr uint32_t kDefinitionMagic = 1625;
// Every usage map row is this long: a type-0 map with a 64-byte bitmap (512 pages), or a
// type-1 map with 17 slots of bitmap pages.
using format::kInlineMapPages;
using format::kReferenceMapPagesPerSlot;
using format::kReferenceMapSlots;
using format::kUsageMapRowSize;

// A row pointer: page number in the upper 24 bits, row number in the low byte.
constexpr uint32_t MakeRowPointer(uint32_t page, uint32_t row) { return page << 8 | row; }
constexpr uint32_t PageOf(uint32_t row_pointer) { return row_pointer >> 8; }
constexpr uint32_t RowOf(uint32_t row_pointer) { return row_pointer & 0xFF; }

// ---------------------------------------------------------------------------------------------
// Pages

// The file under construction: whole zeroed pages, appended on demand.
class PageStore {
 public:
  // Appends a zeroed page and returns its number.
  uint32_t Allocate();
  // Makes room for `pages` pages in all without moving the bytes again.
  void Reserve(size_t pages) { bytes_.reserve(pages * kPageSize); }
  // Page `number`; valid until the next Allocate().
  uint8_t* Page(uint32_t number) { return bytes_.data() + size_t{number} * kPageSize; }
  const uint8_t* Page(uint32_t number) const { return bytes_.data() + size_t{number} * kPageSize; }
  uint32_t count() const { return static_cast<uint32_t>(bytes_.size() / kPageSize); }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Packs rows into data pages (type 0x01) that all carry one owner field: a table's definition
// page, kLongValueOwner, or 0 for the page holding usage maps. Rows go from the end of a page
// toward its header with no gaps, as readers derive row lengths from neighbouring offsets;
// a row that does not fit opens a new page. Offsets never carry flag bits.
class RowPageWriter {
 public:
  RowPageWriter(PageStore* store, uint32_t owner) : store_(store), owner_(owner) {}

  // Places a row of `size` bytes (1..kMaxPageRow) and returns its row pointer. The bytes stay
  // zero until written through Row().
  uint32_t Reserve(size_t size);
  uint32_t Append(std::span<const uint8_t> row);
  // The bytes of a row placed by this writer.
  std::span<uint8_t> Row(uint32_t row_pointer);

  // The pages opened so far, in increasing order.
  const std::vector<uint32_t>& pages() const { return pages_; }
  // The pages with at least `room` bytes left (counting the offset entry a row needs).
  std::vector<uint32_t> PagesWithRoom(size_t room) const;

 private:
  PageStore* store_;
  uint32_t owner_;
  std::vector<uint32_t> pages_;
};

// Free space of a data page as its header states it.
uint16_t DataPageFreeSpace(const uint8_t* page);

// Fills the 69-byte usage map `row` with the set `pages` (sorted, no duplicates): a type-0
// map when the set lies within 512 pages of its first page, otherwise a type-1 map whose
// bitmap pages are allocated from `store`. Every page must be below 17 * 32736.
void EncodeUsageMap(std::span<const uint32_t> pages, PageStore* store, std::span<uint8_t> row);

// ---------------------------------------------------------------------------------------------
// Text

// UTF-8 to UTF-16; kInvalid for malformed input. `what` names the text in the message.
Result<std::u16string> Utf8ToUtf16(std::string_view utf8, std::string_view what);

// UTF-16 to UTF-8, for messages; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The stored bytes of a text: Jet 4 unicode compression (FF FE, then single bytes for
// U+0001..U+00FF and mode switches around other characters) when `allow_compression` is set
// and the result is shorter, else plain UCS-2LE. kInvalid for the one text neither form can
// hold (starts with U+FEFF and contains a character whose low byte is 0).
Result<std::vector<uint8_t>> EncodeText(std::u16string_view text, bool allow_compression);

// ---------------------------------------------------------------------------------------------
// Table layouts and definitions

// Memo and long binary: values stored inline or on long-value pages behind a 12-byte header.
constexpr bool IsLongValue(ColumnType type) {
  return type == ColumnType::kMemo || type == ColumnType::kLongBinary;
}

struct ColumnLayout {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  uint16_t number = 0;        // bit in the null mask; readers order columns by it
  uint16_t var_index = 0;     // variable columns: slot in the row's offset table
  uint16_t fixed_offset = 0;  // fixed columns: place in the fixed area (booleans: 0, no bytes)
  uint16_t length = 0;        // as the definition stores it: bytes, 2 x characters for text
  uint8_t flags = 0;          // 0x01 fixed width, 0x02 updatable, 0x10/0x20 as Jet's own tables
  bool compressible = false;  // extra flag 0x01: texts may be stored compressed
  bool required = false;
};

// Flags of an index as its definition stores them (DO NOT CHANGE: on disk).
inline constexpr uint8_t kIndexUnique = 0x01;
inline constexpr uint8_t kIndexRequired = 0x08;   // no nulls: primary keys
inline constexpr uint8_t kIndexBaseFlags = 0x80;  // set on every index Access 2000 writes
// An index covers at most this many columns: its definition has ten column slots.
inline constexpr size_t kMaxIndexColumns = 10;

// One index of a table. Each is both a logical index (name, kind) and the physical ("real")
// index holding its entries, both numbered by their place in TableLayout::indexes.
struct IndexLayout {
  std::u16string name;
  std::vector<uint16_t> columns;  // column numbers in key order, each ascending
  uint8_t flags = kIndexBaseFlags;
  bool primary_key = false;
};

struct TableLayout {
  std::u16string name;
  bool system = false;
  std::vector<ColumnLayout> columns;  // in column-number order
  uint16_t var_count = 0;
  uint16_t fixed_size = 0;  // bytes of the fixed area of every row
  std::vector<IndexLayout> indexes;
};

// One column as the writer's caller or the catalog describes it, before numbering.
struct ColumnSpec {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  uint16_t length = 0;  // text: characters; binary: bytes; others: ignored
  bool required = false;
  uint8_t extra_flags = 0;  // OR-ed into the column flags (Jet's system columns)
};

// Numbers the columns in the given order, variable ones by their order among themselves,
// and lays the fixed ones out one after another. Types must already be checked.
TableLayout BuildTableLayout(std::u16string name, bool system,
                             const std::vector<ColumnSpec>& columns);

// Size in bytes of the smallest row of a table: every variable value empty.
size_t MinimumRowSize(const TableLayout& layout);

// The map pointers of one memo or long-binary column.
struct LongColumnMaps {
  uint16_t column_number = 0;
  uint32_t owned_map = 0;
  uint32_t free_map = 0;
};

// Where one index lives, and how many different keys it holds (a statistic Jet keeps).
struct IndexValues {
  uint32_t map = 0;        // row pointer of the usage map of its pages
  uint32_t root_page = 0;  // its only (leaf) page
  uint32_t distinct_keys = 0;
};

// Values of a definition known only once the rows are placed.
struct DefinitionValues {
  uint32_t row_count = 0;
  uint32_t owned_map = 0;  // row pointers of the table's usage maps
  uint32_t free_map = 0;
  std::vector<LongColumnMaps> long_columns;  // one per memo/long-binary column, column order
  std::vector<IndexValues> indexes;          // one per index of the layout, in its order
};

// The definition as one buffer: the 63-byte header (page header fields left for
// StoreDefinition) and the variable part, ending in FF FF. Its length does not depend on
// `values`, so it can be sized before the rows are placed.
std::vector<uint8_t> EncodeDefinition(const TableLayout& layout, const DefinitionValues& values);

// Number of pages a definition of `length` bytes spans: the first page takes 4096 bytes of
// the buffer, each continuation page 4088.
size_t DefinitionPageCount(size_t length);

// Writes the buffer over `pages` (DefinitionPageCount of them), filling in each page's type,
// free space and next-page fields and the total length.
void StoreDefinition(std::span<const uint8_t> definition, std::span<const uint32_t> pages,
                     PageStore* store);

// ---------------------------------------------------------------------------------------------
// Rows

// Where the long values of one table go: one long-value page writer per memo/long-binary
// column, so that each column owns its pages.
class LongValueStore {
 public:
  LongValueStore(PageStore* store, const TableLayout& layout);
  // The writer of the column with that number; nullptr for other columns.
  RowPageWriter* ForColumn(uint16_t column_number);
  // Writers in column order, with the column number each serves.
  const std::vector<std::pair<uint16_t, RowPageWriter>>& writers() const { return writers_; }

 private:
  std::vector<std::pair<uint16_t, RowPageWriter>> writers_;
};

// Long values of this many bytes or fewer stay in the row (when the row has room).
inline constexpr size_t kMaxInlineLongValue = 64;
// A long value up to this size goes in one long-value row; beyond, a chain of rows, each a
// 4-byte pointer to the next and up to 4072 bytes of data.
inline constexpr size_t kMaxSingleLongValue = 4076;
inline constexpr size_t kLongValueChunk = 4072;
// The 3-byte length field of the long-value header.
inline constexpr size_t kMaxLongValue = (size_t{1} << 24) - 1;

// Checks `values` against the layout and builds the row: fixed area, variable data, offset
// table, null mask; long values that do not stay inline are stored through `long_values`.
// kInvalid (with the table, row and column in the message) for a value that does not fit its
// column, a null in a required or boolean column, a text longer than its field, a long value
// of 16 MiB or more, or a row past kMaxTableRow.
Result<std::vector<uint8_t>> EncodeRow(const TableLayout& layout,
                                       const std::vector<CellValue>& values, size_t row_index,
                                       LongValueStore* long_values);

// ---------------------------------------------------------------------------------------------
// Indexes

// Appends the key of one column's value, as an ascending index stores it: 0x00 alone for null,
// else 0x7F and the sort bytes of the value. Long integers: big-endian with the sign bit
// flipped. Texts: one byte per character in Jet's General sort order, then 01 00; case does
// not count. kUnsupported for other types, for an empty text and for a character whose sort
// byte this writer does not know (it knows the ASCII digits and letters).
Result<void> AppendIndexKey(ColumnType type, const CellValue& value, std::vector<uint8_t>* key);

// One entry of an index: the key of its columns and the row it points to.
struct IndexEntry {
  std::vector<uint8_t> key;
  uint32_t row_pointer = 0;
};

// Bytes of an entry on a leaf page: the key, then the row pointer (3-byte big-endian page,
// 1-byte row).
constexpr size_t IndexEntrySize(const IndexEntry& entry) { return entry.key.size() + 4; }

// The part of a leaf page that holds entries, after its 480-byte header.
inline constexpr size_t kLeafHeaderSize = 480;
inline constexpr size_t kMaxLeafEntryBytes = kPageSize - kLeafHeaderSize;

// Puts entries in leaf order: by key bytes, entries with equal keys by row pointer.
void SortIndexEntries(std::vector<IndexEntry>* entries);

// Writes a leaf page (type 0x04) of the table whose definition starts at `tdef_page`, holding
// `entries` (sorted, their sizes adding up to at most kMaxLeafEntryBytes) one after another
// with no shared prefix, and the bitmap marking where each entry ends. `page` is zeroed.
void EncodeLeafPage(std::span<const IndexEntry> entries, uint32_t tdef_page, uint8_t* page);

// ---------------------------------------------------------------------------------------------
// Header

// Page 0: signature, version 4, the RC4-masked region with code page, sort order, creation
// date and the password XOR-masked by the date, and the constants Jet writes after it.
// `password` has at most 20 characters.
void EncodeHeaderPage(std::u16string_view password, double creation_date, uint8_t* page);

// Page 1: the database-wide map of free pages (every page from `page_count` on, within the
// 512 pages it covers) and the second, empty map Jet keeps beside it.
void EncodeFreePageMap(uint32_t page_count, uint8_t* page);

}  // namespace jet::writer_internal
