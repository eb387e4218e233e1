// src/jet/reader_usage_map.cpp
// Usage maps: the pages a table owns, from an inline bitmap or from bitmap pages.
#include <algorithm>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/reader_internal.h"

namespace jet {

Result<std::vector<uint32_t>> Database::UsageMapPages(uint32_t pgrow) {
  EXAMORA_ASSIGN_OR_RETURN(auto page, Page(pgrow >> 8));
  if (page[0] != format::kDataPage) return Corrupt("usage map not on a data page");
  EXAMORA_ASSIGN_OR_RETURN(auto map, RowBytes(page, static_cast<uint16_t>(pgrow & 0xFF)));
  std::vector<uint32_t> pages;
  if (map.empty()) return Corrupt("empty usage map");
  if (map[0] == format::kInlineMap) {
    if (map.size() < format::kInlineMapHeader) return Corrupt("short usage map");
    const uint32_t start = LoadU32(&map[1]);
    for (size_t byte = format::kInlineMapHeader; byte < map.size(); ++byte) {
      for (int bit = 0; bit < 8; ++bit) {
        if (map[byte] & (1u << bit)) {
          const uint64_t p =
              uint64_t{start} + (byte - format::kInlineMapHeader) * 8 + static_cast<unsigned>(bit);
          if (p >= page_count_) return Corrupt("a table lists a page beyond the end of the file");
          pages.push_back(static_cast<uint32_t>(p));
        }
      }
    }
  } else if (map[0] == format::kReferenceMap) {
    // Copy the slots first: reading the map pages may evict `map` from the cache.
    std::vector<uint32_t> slots;
    for (size_t at = 1; at + 4 <= map.size(); at += 4) slots.push_back(LoadU32(&map[at]));
    for (size_t slot = 0; slot < slots.size(); ++slot) {
      if (slots[slot] == 0) continue;
      EXAMORA_ASSIGN_OR_RETURN(auto bitmap, Page(slots[slot]));
      if (bitmap[0] != format::kUsageMapPage)
        return Corrupt("usage map points at a page that is no map page");
      for (size_t byte = format::kMapPageHeader; byte < kPageSize; ++byte) {
        if (bitmap[byte] == 0) continue;
        for (int bit = 0; bit < 8; ++bit) {
          if (bitmap[byte] & (1u << bit)) {
            const uint64_t p = uint64_t{slot} * format::kReferenceMapPagesPerSlot +
                               (byte - format::kMapPageHeader) * 8 + static_cast<unsigned>(bit);
            if (p >= page_count_) {
              return Corrupt("a table lists a page beyond the end of the file");
            }
            pages.push_back(static_cast<uint32_t>(p));
          }
        }
      }
    }
    std::sort(pages.begin(), pages.end());
  } else {
    return Corrupt("unknown usage map type");
  }
  return pages;
}

}  // namespace jet
