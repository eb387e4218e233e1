// A small reader of the index structures of a Jet 4 file, for the tests: the index blocks of a
// table definition and the entries of a leaf page. Written from the format notes, apart from
// the writer, so that a writer fault does not hide itself. Returns nullopt on anything it does
// not understand (including prefix-compressed leaves, which Access does not write).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "jet/bytes.h"

namespace index_pages {

inline constexpr size_t kPage = 4096;

struct RealIndex {
  std::vector<uint8_t> raw;  // the 52 bytes
  std::vector<uint16_t> columns;
  uint32_t map = 0;  // row pointer of its usage map
  uint32_t root = 0;
  uint8_t flags = 0;
  uint32_t count_first = 0;  // the two statistics of the row-count block
  uint32_t distinct = 0;
};

struct LogicalIndex {
  std::vector<uint8_t> raw;  // the 28 bytes
  std::u16string name;
  uint32_t number = 0;
  uint32_t real = 0;
  uint8_t kind = 0;
};

struct TableIndexes {
  uint32_t logical_count = 0;  // tdef offsets 47 and 51
  uint32_t real_count = 0;
  std::vector<RealIndex> real;
  std::vector<LogicalIndex> logical;  // in stored order
};

// The definition of the table at `tdef_page` as one buffer (continuation pages appended).
inline std::optional<std::vector<uint8_t>> Definition(std::span<const uint8_t> file,
                                                      uint32_t tdef_page) {
  std::vector<uint8_t> def;
  uint32_t next = tdef_page;
  for (int guard = 0; next != 0 && guard < 64; ++guard) {
    if ((size_t{next} + 1) * kPage > file.size()) return std::nullopt;
    const uint8_t* p = file.data() + size_t{next} * kPage;
    if (p[0] != 0x02) return std::nullopt;
    if (def.empty()) {
      def.assign(p, p + kPage);
    } else {
      def.insert(def.end(), p + 8, p + kPage);
    }
    next = jet::LoadU32(p + 4);
  }
  if (next != 0 || def.empty()) return std::nullopt;
  return def;
}

inline std::optional<TableIndexes> ReadTableIndexes(std::span<const uint8_t> file,
                                                    uint32_t tdef_page) {
  auto def = Definition(file, tdef_page);
  if (!def) return std::nullopt;
  const std::vector<uint8_t>& d = *def;
  TableIndexes out;
  const uint16_t columns = jet::LoadU16(&d[45]);
  out.logical_count = jet::LoadU32(&d[47]);
  out.real_count = jet::LoadU32(&d[51]);
  if (out.logical_count > 100 || out.real_count > 100) return std::nullopt;
  size_t at = 63;
  auto have = [&](size_t n) { return at + n <= d.size(); };
  std::vector<std::pair<uint32_t, uint32_t>> counts;
  for (uint32_t i = 0; i < out.real_count; ++i, at += 12) {
    if (!have(12)) return std::nullopt;
    counts.emplace_back(jet::LoadU32(&d[at]), jet::LoadU32(&d[at + 4]));
  }
  at += 25 * size_t{columns};
  for (uint16_t i = 0; i < columns; ++i) {
    if (!have(2)) return std::nullopt;
    at += 2 + size_t{jet::LoadU16(&d[at])};
  }
  for (uint32_t i = 0; i < out.real_count; ++i, at += 52) {
    if (!have(52)) return std::nullopt;
    RealIndex r;
    r.raw.assign(d.begin() + static_cast<std::ptrdiff_t>(at),
                 d.begin() + static_cast<std::ptrdiff_t>(at + 52));
    if (jet::LoadU32(&d[at]) != 1923) return std::nullopt;
    for (size_t slot = 0; slot < 10; ++slot) {
      const uint16_t column = jet::LoadU16(&d[at + 4 + 3 * slot]);
      if (column != 0xFFFF) r.columns.push_back(column);
    }
    r.map = jet::LoadU32(&d[at + 34]);
    r.root = jet::LoadU32(&d[at + 38]);
    r.flags = d[at + 46];
    r.count_first = counts[i].first;
    r.distinct = counts[i].second;
    out.real.push_back(std::move(r));
  }
  for (uint32_t i = 0; i < out.logical_count; ++i, at += 28) {
    if (!have(28)) return std::nullopt;
    LogicalIndex l;
    l.raw.assign(d.begin() + static_cast<std::ptrdiff_t>(at),
                 d.begin() + static_cast<std::ptrdiff_t>(at + 28));
    l.number = jet::LoadU32(&d[at + 4]);
    l.real = jet::LoadU32(&d[at + 8]);
    l.kind = d[at + 23];
    out.logical.push_back(std::move(l));
  }
  for (LogicalIndex& l : out.logical) {
    if (!have(2)) return std::nullopt;
    const uint16_t bytes = jet::LoadU16(&d[at]);
    at += 2;
    if (!have(bytes) || bytes % 2 != 0) return std::nullopt;
    for (size_t k = 0; k < bytes; k += 2)
      l.name.push_back(static_cast<char16_t>(jet::LoadU16(&d[at + k])));
    at += bytes;
  }
  return out;
}

struct LeafEntry {
  std::vector<uint8_t> key;
  uint32_t page = 0;
  uint8_t row = 0;
};

struct Leaf {
  uint32_t owner = 0;  // the table's definition page
  size_t end = 0;      // where the last entry ends
  std::vector<LeafEntry> entries;
};

// The entries of a lone leaf page (no siblings, no shared prefix), checking its free space.
inline std::optional<Leaf> ReadLeaf(const uint8_t* p) {
  if (p[0] != 0x04 || p[1] != 0x01) return std::nullopt;
  if (jet::LoadU32(p + 12) != 0 || jet::LoadU32(p + 16) != 0 || jet::LoadU32(p + 20) != 0 ||
      jet::LoadU16(p + 24) != 0) {
    return std::nullopt;
  }
  Leaf leaf;
  leaf.owner = jet::LoadU32(p + 4);
  size_t start = 480;
  for (size_t bit = 1; 480 + bit <= kPage && bit < 453 * 8; ++bit) {
    if ((p[27 + bit / 8] >> (bit % 8) & 1) == 0) continue;
    const size_t end = 480 + bit;
    if (end - start < 5) return std::nullopt;  // a flag and a row pointer at least
    LeafEntry e;
    e.key.assign(p + start, p + end - 4);
    e.page = static_cast<uint32_t>(p[end - 4]) << 16 | static_cast<uint32_t>(p[end - 3]) << 8 |
             p[end - 2];
    e.row = p[end - 1];
    leaf.entries.push_back(std::move(e));
    start = end;
  }
  leaf.end = start;
  if (jet::LoadU16(p + 2) != kPage - leaf.end) return std::nullopt;
  return leaf;
}

// The pages of an inline (type 0) usage map stored at row pointer `map`.
inline std::optional<std::vector<uint32_t>> InlineMapPages(std::span<const uint8_t> file,
                                                           uint32_t map) {
  const uint32_t page = map >> 8, row = map & 0xFF;
  if ((size_t{page} + 1) * kPage > file.size()) return std::nullopt;
  const uint8_t* p = file.data() + size_t{page} * kPage;
  if (p[0] != 0x01 || row >= jet::LoadU16(p + 12)) return std::nullopt;
  const size_t start = jet::LoadU16(p + 14 + 2 * row) & 0x1FFF;
  const size_t end = row == 0 ? kPage : jet::LoadU16(p + 14 + 2 * (row - 1)) & 0x1FFF;
  if (end <= start + 5 || p[start] != 0) return std::nullopt;
  std::vector<uint32_t> pages;
  const uint32_t first = jet::LoadU32(p + start + 1);
  for (size_t bit = 0; bit < (end - start - 5) * 8; ++bit) {
    if (p[start + 5 + bit / 8] >> (bit % 8) & 1)
      pages.push_back(first + static_cast<uint32_t>(bit));
  }
  return pages;
}

}  // namespace index_pages
