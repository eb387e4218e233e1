// In-place update of fixed-width cells, and the deferral of the flush that ends each update.
//
// Every update is checked before the first byte is written. The changes are then applied page
// by page (only the bytes of the changed fields, and a null-mask byte where a null becomes a
// value or a value becomes null), and the file is flushed once at the end, or once for a whole
// group of updates while a deferral is open. A field never straddles two writes, so a crash
// leaves each field either old or new.
#include <algorithm>
#include <map>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"

namespace jet {
namespace {

using base::ErrorCode;
using base::MakeError;
using base::Result;

// Encodes `v` for column `c` into `out` (c.length bytes). False if the value has another type.
bool Encode(const Column& c, const Value& v, uint8_t* out) {
  switch (c.type) {
    case ColumnType::kByte:
      if (auto* p = std::get_if<uint8_t>(&v)) return out[0] = *p, true;
      return false;
    case ColumnType::kInt16:
      if (auto* p = std::get_if<int16_t>(&v)) return StoreU16(out, static_cast<uint16_t>(*p)), true;
      return false;
    case ColumnType::kInt32:
      if (auto* p = std::get_if<int32_t>(&v)) return StoreU32(out, static_cast<uint32_t>(*p)), true;
      return false;
    case ColumnType::kCurrency:
      if (auto* p = std::get_if<Currency>(&v)) {
        return StoreU64(out, static_cast<uint64_t>(p->scaled)), true;
      }
      return false;
    case ColumnType::kFloat:
      if (auto* p = std::get_if<float>(&v)) return StoreF32(out, *p), true;
      return false;
    case ColumnType::kDouble:
      if (auto* p = std::get_if<double>(&v)) return StoreF64(out, *p), true;
      return false;
    case ColumnType::kDateTime:
      if (auto* p = std::get_if<DateTime>(&v)) return StoreF64(out, p->days), true;
      return false;
    case ColumnType::kGuid:
      if (auto* p = std::get_if<Guid>(&v)) {
        std::copy(p->bytes.begin(), p->bytes.end(), out);
        return true;
      }
      return false;
    default:
      return false;
  }
}

struct PendingWrite {
  size_t offset;  // within the page
  std::vector<uint8_t> bytes;
};

}  // namespace

Result<void> Database::UpdateFixed(const TableDef& table, std::span<const FixedUpdate> updates) {
  if (!file_->writable()) return MakeError(ErrorCode::kInvalid, "the database is open read-only");
  // page -> its new contents; built completely before anything is written.
  std::map<uint32_t, std::vector<uint8_t>> pages;
  std::map<uint32_t, std::vector<PendingWrite>> writes;
  for (const FixedUpdate& u : updates) {
    if (u.column < 0 || static_cast<size_t>(u.column) >= table.columns.size()) {
      return MakeError(ErrorCode::kInvalid, "column index out of range");
    }
    const Column& c = table.columns[static_cast<size_t>(u.column)];
    if (!c.fixed() || c.type == ColumnType::kNumeric || c.type == ColumnType::kComplex ||
        c.type == ColumnType::kText) {
      return MakeError(ErrorCode::kUnsupported, "only fixed-width columns can be updated in place");
    }
    // A damaged definition may give two columns one null-mask bit: setting it for this column
    // would make the other one appear, a change of structure rather than of a cell.
    for (const Column& other : table.columns) {
      if (&other != &c && other.number == c.number) {
        return MakeError(ErrorCode::kCorrupt, "damaged database: two columns share a number");
      }
    }
    auto it = pages.find(u.row.page);
    if (it == pages.end()) {
      EXAMORA_ASSIGN_OR_RETURN(auto page, Page(u.row.page));
      if (page[0] != format::kDataPage ||
          LoadU32(&page[format::kPageOwnerOffset]) != table.tdef_page) {
        return MakeError(ErrorCode::kNotFound, "row is not in this table");
      }
      it = pages.emplace(u.row.page, std::vector<uint8_t>(page.begin(), page.end())).first;
    }
    std::vector<uint8_t>& page = it->second;
    EXAMORA_ASSIGN_OR_RETURN(auto row, RowBytes(page, u.row.row));
    if (LoadU16(&page[format::kDataPageHeader + 2 * size_t{u.row.row}]) &
        format::kRowDeletedOrPointer) {
      return MakeError(ErrorCode::kNotFound, "row is deleted or moved");
    }
    if (row.size() < 2) return MakeError(ErrorCode::kCorrupt, "damaged database: row too short");
    const size_t row_start = static_cast<size_t>(row.data() - page.data());
    const uint16_t count = LoadU16(row.data());
    const size_t mask_size = (size_t{count} + 7) / 8;
    if (row.size() < 2 + mask_size || c.number >= count) {
      return MakeError(ErrorCode::kUnsupported, "row does not hold the column");
    }
    const size_t mask_byte = row_start + row.size() - mask_size + c.number / 8;
    const auto bit = static_cast<uint8_t>(1u << (c.number % 8));
    uint8_t new_mask = page[mask_byte];
    if (c.type == ColumnType::kBoolean) {
      const bool* b = std::get_if<bool>(&u.value);
      if (!b) return MakeError(ErrorCode::kInvalid, "a boolean column takes true or false");
      new_mask = *b ? (new_mask | bit) : (new_mask & static_cast<uint8_t>(~bit));
    } else {
      // A short row written before a column was added does not hold it.
      size_t var_count = 0;
      if (table.var_columns > 0 && row.size() >= 4 + mask_size) {
        var_count = LoadU16(&row[row.size() - mask_size - 2]);
      }
      if (c.fixed_ordinal >= count - std::min<size_t>(count, var_count)) {
        return MakeError(ErrorCode::kUnsupported, "row does not hold the column");
      }
      const size_t at = row_start + 2 + c.fixed_offset;
      // The fixed area ends where the first variable value begins (or, without any, where the
      // variable offsets begin); a field reaching past it would overwrite structure.
      size_t fixed_end = row.size() - mask_size;
      if (table.var_columns > 0) {
        if (row.size() < 4 + mask_size + 2 * var_count) {
          return MakeError(ErrorCode::kCorrupt,
                           "damaged database: variable offsets outside the row");
        }
        fixed_end = row.size() - mask_size - 4 - 2 * var_count;
        if (var_count > 0) {
          fixed_end = std::min<size_t>(fixed_end, LoadU16(&row[row.size() - mask_size - 4]));
        }
      }
      if (2u + c.fixed_offset + c.length > fixed_end) {
        return MakeError(ErrorCode::kCorrupt, "damaged database: fixed column outside the row");
      }
      if (std::holds_alternative<std::monostate>(u.value)) {
        new_mask &= static_cast<uint8_t>(~bit);
      } else {
        std::vector<uint8_t> bytes(c.length);
        if (!Encode(c, u.value, bytes.data())) {
          return MakeError(ErrorCode::kInvalid, "value does not fit the column's type");
        }
        std::copy(bytes.begin(), bytes.end(), page.begin() + static_cast<ptrdiff_t>(at));
        writes[u.row.page].push_back({at, std::move(bytes)});
        new_mask |= bit;
      }
    }
    if (new_mask != page[mask_byte]) {
      page[mask_byte] = new_mask;
      writes[u.row.page].push_back({mask_byte, {new_mask}});
    }
  }
  if (writes.empty()) return base::Ok();
  // A condition on a column written here may now select other rows.
  remembered_.clear();
  // Owed from the first write on: a write that fails half way may still have changed bytes.
  sync_owed_ = true;
  for (auto& [number, list] : writes) {
    for (const PendingWrite& w : list) {
      auto written = file_->WriteAt(uint64_t{number} * kPageSize + w.offset, w.bytes);
      if (!written) {
        cache_.Erase(number);  // the page on disk may now be partly new
        return written;
      }
    }
    cache_.Put(number, std::move(pages[number]));
  }
  if (sync_deferrals_ > 0) return base::Ok();
  return FlushOwed();
}

Result<void> Database::FlushOwed() {
  if (!sync_owed_) return base::Ok();
  EXAMORA_TRY(file_->Sync());
  sync_owed_ = false;
  return base::Ok();
}

Result<void> Database::EndSyncDeferral() {
  if (sync_deferrals_ > 0) --sync_deferrals_;
  return FlushOwed();
}

}  // namespace jet
