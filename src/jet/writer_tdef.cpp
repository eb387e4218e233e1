// src/jet/writer_tdef.cpp
// Table layouts (column numbering, fixed offsets) and the table definition pages.
//
// Definition, as one buffer over its pages (continuation pages add bytes 8..4095):
//   offset  size  content
//   0       2     02 01
//   2       2     free space on the page = 4096 - 8 - bytes used on it (0 when full)
//   4       4     next definition page, 0 on the last
//   8       4     length of the whole buffer, up to and including the final FF FF
//   12      4     1625
//   16      4     rows in the table
//   20      4     last autonumber (0)
//   24      1     1
//   40      1     'N' user table, 'S' system table
//   41      2     column count (also the row column count)
//   43      2     variable columns
//   45      2     columns
//   47      4     logical indexes
//   51      4     real indexes (the writer gives each logical index a real one of its own)
//   55      4     row pointer of the owned-pages map
//   59      4     row pointer of the free-space map
//   63            12 x real index: u32 0, u32 distinct keys, u32 0
//                 25 x column; column names (u16 bytes + UCS-2)
//                 52 x real index; 28 x logical index; logical index names (as column names)
//                 10 x long-value column (u16 column, u32 owned map, u32 free map); FF FF
//
// Real index (52 bytes): u32 1923; 10 slots of u16 column number and u8 order (1 ascending),
// unused slots FFFF 00; u32 row pointer of its usage map; u32 root page; u32 0; u8 flags;
// 5 x 0.
// Logical index (28 bytes): u32 1625; u32 its number; u32 number of its real index; u8 0
// (no related table); i32 -1 (no related index); u32 0 (related definition page); u8 4, u8 4
// (what Access stores outside relationships); u8 kind (1 primary key, 0 other); u32 0.
// Access keeps the logical indexes (and their names) in name order, case ignored.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "jet/bytes.h"
#include "jet/writer_internal.h"

namespace jet::writer_internal {

namespace {

using format::kColumnEntrySize;
using format::kContinuationHeader;
using format::kDefinitionHeader;
using format::kLogicalIndexSize;
using format::kRealIndexSize;
constexpr uint16_t kGeneralSortOrder = 0x0409;
// Constants of the index definitions (DO NOT CHANGE: on disk).
constexpr uint32_t kRealIndexMagic = 1923;
constexpr uint8_t kAscending = 1;
constexpr uint8_t kNoRelationship = 4;
constexpr uint8_t kPrimaryKeyKind = 1;

uint16_t FixedSize(ColumnType type) {
  switch (type) {
    case ColumnType::kBoolean:
    case ColumnType::kByte:
      return 1;
    case ColumnType::kInt16:
      return 2;
    case ColumnType::kInt32:
    case ColumnType::kFloat:
      return 4;
    case ColumnType::kCurrency:
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
      return 8;
    case ColumnType::kGuid:
      return 16;
    case ColumnType::kNumeric:
      return 17;
    default:
      return 0;
  }
}

// Case-insensitive order of ASCII names, as Jet orders the entries of its own tables.
bool NameLess(const std::u16string& a, const std::u16string& b) {
  auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char16_t x, char16_t y) { return fold(x) < fold(y); });
}

class Buffer {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Zeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  void Name(const std::u16string& name) {
    U16(static_cast<uint16_t>(name.size() * 2));
    for (char16_t c : name) U16(c);
  }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

TableLayout BuildTableLayout(std::u16string name, bool system,
                             const std::vector<ColumnSpec>& columns) {
  TableLayout layout;
  layout.name = std::move(name);
  layout.system = system;
  uint16_t var_count = 0;
  uint16_t fixed_end = 0;
  for (size_t i = 0; i < columns.size(); ++i) {
    const ColumnSpec& column_def = columns[i];
    ColumnLayout column;
    column.name = column_def.name;
    column.type = column_def.type;
    column.number = static_cast<uint16_t>(i);
    column.required = column_def.required;
    if (IsFixedWidth(column_def.type)) {
      column.flags = static_cast<uint8_t>(0x03 | column_def.extra_flags);
      column.length = FixedSize(column_def.type);
      column.var_index = var_count;
      // Booleans live in the null mask and take no bytes of the fixed area.
      if (column_def.type != ColumnType::kBoolean) {
        column.fixed_offset = fixed_end;
        fixed_end = static_cast<uint16_t>(fixed_end + column.length);
      }
    } else {
      column.flags = static_cast<uint8_t>(0x02 | column_def.extra_flags);
      column.var_index = var_count++;
      switch (column_def.type) {
        case ColumnType::kText:
          column.length = static_cast<uint16_t>(column_def.length * 2);
          column.compressible = !system;
          break;
        case ColumnType::kBinary:
          column.length = column_def.length;
          break;
        default:  // memo, long binary
          column.length = 0;
          column.compressible = !system && column_def.type == ColumnType::kMemo;
          break;
      }
    }
    layout.columns.push_back(std::move(column));
  }
  layout.var_count = var_count;
  layout.fixed_size = fixed_end;
  return layout;
}

size_t MinimumRowSize(const TableLayout& layout) {
  const size_t null_mask = (layout.columns.size() + 7) / 8;
  const size_t offsets = layout.var_count > 0 ? 2 * (size_t{layout.var_count} + 2) : 0;
  return 2 + layout.fixed_size + offsets + null_mask;
}

std::vector<uint8_t> EncodeDefinition(const TableLayout& layout, const DefinitionValues& values) {
  Buffer b;
  b.Zeros(8);  // type, free space, next page: StoreDefinition
  b.U32(0);    // total length, patched below
  b.U32(kDefinitionMagic);
  b.U32(values.row_count);
  b.U32(0);  // last autonumber
  b.U8(1);
  b.Zeros(15);
  b.U8(layout.system ? 'S' : 'N');
  const auto column_count = static_cast<uint16_t>(layout.columns.size());
  b.U16(column_count);
  b.U16(layout.var_count);
  b.U16(column_count);
  const auto index_count = static_cast<uint32_t>(layout.indexes.size());
  b.U32(index_count);  // logical indexes
  b.U32(index_count);  // real indexes
  b.U32(values.owned_map);
  b.U32(values.free_map);
  assert(b.size() == kDefinitionHeader);
  // Index values are only known once the rows are placed; until then they count as zero.
  auto index_values = [&](size_t i) {
    return i < values.indexes.size() ? values.indexes[i] : IndexValues{};
  };
  for (size_t i = 0; i < layout.indexes.size(); ++i) {
    b.U32(0);
    b.U32(index_values(i).distinct_keys);
    b.U32(0);
  }

  // Jet keeps the entries of its own tables in name order; readers sort by column number.
  std::vector<const ColumnLayout*> entries;
  for (const ColumnLayout& c : layout.columns) entries.push_back(&c);
  if (layout.system) {
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const ColumnLayout* x, const ColumnLayout* y) { return NameLess(x->name, y->name); });
  }
  for (const ColumnLayout* c : entries) {
    b.U8(static_cast<uint8_t>(c->type));
    b.U32(kDefinitionMagic);
    b.U16(c->number);
    b.U16(c->var_index);
    b.U16(layout.system ? 0 : c->number);
    b.U16(kGeneralSortOrder);
    b.U16(0);
    b.U8(c->flags);
    b.U8(c->compressible ? 0x01 : 0x00);
    b.U32(0);
    b.U16(c->fixed_offset);
    b.U16(c->length);
  }
  for (const ColumnLayout* c : entries) b.Name(c->name);

  for (size_t i = 0; i < layout.indexes.size(); ++i) {
    const IndexLayout& index = layout.indexes[i];
    assert(!index.columns.empty() && index.columns.size() <= kMaxIndexColumns);
    [[maybe_unused]] const size_t start = b.size();
    b.U32(kRealIndexMagic);
    for (size_t slot = 0; slot < kMaxIndexColumns; ++slot) {
      if (slot < index.columns.size()) {
        b.U16(index.columns[slot]);
        b.U8(kAscending);
      } else {
        b.U16(0xFFFF);
        b.U8(0);
      }
    }
    b.U32(index_values(i).map);
    b.U32(index_values(i).root_page);
    b.U32(0);
    b.U8(index.flags);
    b.Zeros(5);
    assert(b.size() - start == kRealIndexSize);
  }
  std::vector<size_t> by_name;
  for (size_t i = 0; i < layout.indexes.size(); ++i) by_name.push_back(i);
  std::stable_sort(by_name.begin(), by_name.end(), [&](size_t x, size_t y) {
    return NameLess(layout.indexes[x].name, layout.indexes[y].name);
  });
  for (size_t i : by_name) {
    [[maybe_unused]] const size_t start = b.size();
    b.U32(kDefinitionMagic);
    b.U32(static_cast<uint32_t>(i));  // logical index number
    b.U32(static_cast<uint32_t>(i));  // its real index
    b.U8(0);
    b.U32(0xFFFFFFFFu);
    b.U32(0);
    b.U8(kNoRelationship);
    b.U8(kNoRelationship);
    b.U8(layout.indexes[i].primary_key ? kPrimaryKeyKind : 0);
    b.U32(0);
    assert(b.size() - start == kLogicalIndexSize);
  }
  for (size_t i : by_name) b.Name(layout.indexes[i].name);

  for (const LongColumnMaps& maps : values.long_columns) {
    b.U16(maps.column_number);
    b.U32(maps.owned_map);
    b.U32(maps.free_map);
  }
  b.U16(0xFFFF);

  std::vector<uint8_t> out = b.Take();
  StoreU32(out.data() + 8, static_cast<uint32_t>(out.size()));
  return out;
}

size_t DefinitionPageCount(size_t length) {
  if (length <= kPageSize) return 1;
  const size_t rest = length - kPageSize;
  const size_t per_page = kPageSize - kContinuationHeader;
  return 1 + (rest + per_page - 1) / per_page;
}

void StoreDefinition(std::span<const uint8_t> definition, std::span<const uint32_t> pages,
                     PageStore* store) {
  assert(pages.size() == DefinitionPageCount(definition.size()));
  size_t done = 0;
  for (size_t i = 0; i < pages.size(); ++i) {
    uint8_t* page = store->Page(pages[i]);
    size_t used;
    if (i == 0) {
      used = std::min(definition.size(), kPageSize);
      std::memcpy(page, definition.data(), used);
      done = used;
    } else {
      const size_t part = std::min(definition.size() - done, kPageSize - kContinuationHeader);
      std::memcpy(page + kContinuationHeader, definition.data() + done, part);
      done += part;
      used = kContinuationHeader + part;
    }
    page[0] = 0x02;
    page[1] = 0x01;
    const size_t free =
        used + kContinuationHeader >= kPageSize ? 0 : kPageSize - kContinuationHeader - used;
    StoreU16(page + 2, static_cast<uint16_t>(free));
    StoreU32(page + 4, i + 1 < pages.size() ? pages[i + 1] : 0);
  }
}

}  // namespace jet::writer_internal
