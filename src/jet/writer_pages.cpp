// src/jet/writer_pages.cpp
// Page allocation, row packing on data pages, and usage maps for the writer.
//
// Data page (type 0x01):
//   offset  size  content
//   0       1     0x01
//   1       1     0x01
//   2       2     free space = 4096 - 14 - 2n - (4096 - lowest row offset)
//   4       4     owner: definition page of the table, "LVAL", or 0 (usage maps)
//   8       4     0
//   12      2     n, rows on the page
//   14      2n    row offsets; row 0 ends at 4096, row i ends where row i-1 starts
#include <algorithm>
#include <cassert>
#include <cstring>

#include "jet/bytes.h"
#include "jet/writer_internal.h"

namespace jet::writer_internal {

namespace {

constexpr size_t kDataHeader = 14;

uint16_t RowCount(const uint8_t* page) { return LoadU16(page + 12); }

// Offset of the lowest row on the page, 4096 when it has none.
size_t LowestRow(const uint8_t* page) {
  const uint16_t n = RowCount(page);
  return n == 0 ? kPageSize : LoadU16(page + kDataHeader + 2 * (n - 1u));
}

size_t Room(const uint8_t* page) {
  return LowestRow(page) - kDataHeader - 2 * size_t{RowCount(page)};
}

void InitDataPage(uint8_t* page, uint32_t owner) {
  page[0] = 0x01;
  page[1] = 0x01;
  StoreU16(page + 2, static_cast<uint16_t>(kPageSize - kDataHeader));
  StoreU32(page + 4, owner);
}

void SetBit(uint8_t* bitmap, size_t bit) {
  bitmap[bit / 8] = static_cast<uint8_t>(bitmap[bit / 8] | (1u << (bit % 8)));
}

}  // namespace

uint32_t PageStore::Allocate() {
  const uint32_t number = count();
  bytes_.resize(bytes_.size() + kPageSize, 0);
  return number;
}

uint16_t DataPageFreeSpace(const uint8_t* page) { return LoadU16(page + 2); }

uint32_t RowPageWriter::Reserve(size_t size) {
  assert(size >= 1 && size <= kMaxPageRow);
  bool fits = false;
  if (!pages_.empty()) {
    const uint8_t* last = store_->Page(pages_.back());
    fits = RowCount(last) < kMaxRowsPerPage && Room(last) >= size + 2;
  }
  if (!fits) {
    pages_.push_back(store_->Allocate());
    InitDataPage(store_->Page(pages_.back()), owner_);
  }
  uint8_t* page = store_->Page(pages_.back());
  const uint16_t n = RowCount(page);
  const size_t start = LowestRow(page) - size;
  StoreU16(page + kDataHeader + 2 * size_t{n}, static_cast<uint16_t>(start));
  StoreU16(page + 12, static_cast<uint16_t>(n + 1));
  StoreU16(page + 2, static_cast<uint16_t>(Room(page)));
  return MakeRowPointer(pages_.back(), n);
}

uint32_t RowPageWriter::Append(std::span<const uint8_t> row) {
  const uint32_t pointer = Reserve(row.size());
  std::memcpy(Row(pointer).data(), row.data(), row.size());
  return pointer;
}

std::span<uint8_t> RowPageWriter::Row(uint32_t row_pointer) {
  uint8_t* page = store_->Page(PageOf(row_pointer));
  const uint32_t row = RowOf(row_pointer);
  assert(row < RowCount(page));
  const size_t start = LoadU16(page + kDataHeader + 2 * size_t{row});
  const size_t end = row == 0 ? kPageSize : LoadU16(page + kDataHeader + 2 * size_t{row - 1});
  return {page + start, end - start};
}

std::vector<uint32_t> RowPageWriter::PagesWithRoom(size_t room) const {
  std::vector<uint32_t> out;
  for (uint32_t number : pages_) {
    const uint8_t* page = store_->Page(number);
    if (RowCount(page) < kMaxRowsPerPage && Room(page) >= room) out.push_back(number);
  }
  return out;
}

// Type 0:  0x00, u32 start page S, bitmap (bit k = page S + k).
// Type 1:  0x01, 17 x u32 bitmap page numbers (0 = none); slot j covers the 32736 pages from
//          j * 32736, and its page holds 05 01 00 00 and a 4092-byte bitmap.
void EncodeUsageMap(std::span<const uint32_t> pages, PageStore* store, std::span<uint8_t> row) {
  assert(row.size() == kUsageMapRowSize);
  std::fill(row.begin(), row.end(), uint8_t{0});
  if (pages.empty()) return;
  const uint32_t first = pages.front();
  if (pages.back() - first < kInlineMapPages) {
    row[0] = 0x00;
    StoreU32(row.data() + 1, first);
    for (uint32_t page : pages) SetBit(row.data() + 5, page - first);
    return;
  }
  row[0] = 0x01;
  uint32_t slot_page = 0;
  size_t slot = kReferenceMapSlots;
  for (uint32_t page : pages) {
    const size_t page_slot = page / kReferenceMapPagesPerSlot;
    assert(page_slot < kReferenceMapSlots);
    if (page_slot != slot) {
      slot = page_slot;
      slot_page = store->Allocate();
      uint8_t* bitmap_page = store->Page(slot_page);
      bitmap_page[0] = 0x05;
      bitmap_page[1] = 0x01;
      StoreU32(row.data() + 1 + 4 * slot, slot_page);
    }
    SetBit(store->Page(slot_page) + 4, page % kReferenceMapPagesPerSlot);
  }
}

}  // namespace jet::writer_internal
