// src/jet/reader_text_index.cpp
// Finding rows without scanning the table while the file rests: a map from the folded text of
// one column to its rows, built in one scan, and the rows that earlier scans found for a
// condition; reading then only the rows they name.
#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/names.h"
#include "jet/reader_internal.h"

namespace jet {

using reader_internal::Corrupt;

namespace {

// What the remembered rows may hold: a tool may run any number of conditions on a table of any
// size; the trainer runs a handful per class on 2,300 rows.
constexpr size_t kMaxRememberedConditions = 64;
constexpr size_t kMaxRememberedRows = size_t{1} << 20;  // 8 MiB of row places

std::u16string Folded(std::span<const uint8_t> stored) {
  std::u16string out;
  TextReader reader(stored);
  for (char16_t c; reader.Next(c);) out += FoldAscii(c);
  return out;
}

}  // namespace

Result<std::optional<std::span<const RowId>>> Database::RowsWithText(const TableDef& table,
                                                                     int column,
                                                                     std::u16string_view key) {
  using Found = std::optional<std::span<const RowId>>;
  if (column < 0 || static_cast<size_t>(column) >= table.columns.size() ||
      table.columns[static_cast<size_t>(column)].type != ColumnType::kText) {
    return MakeError(ErrorCode::kInvalid, "only text columns can be looked up by their text");
  }
  const std::pair<uint32_t, int> which{table.tdef_page, column};
  auto it = text_indexes_.find(which);
  if (it == text_indexes_.end()) {
    // Within moments of a write the file's times cannot tell a later write apart, and every
    // statement rereads the file; a map built now would be dropped by the next one.
    if (!at_rest_) return Found();
    TextIndex index;
    Result<void> failure;
    EXAMORA_TRY(ScanRowViews(table, [&](const RowView& row) {
      auto stored = FieldBytes(table, row, column);
      if (!stored) {
        failure = base::Unexpected<base::Error>(stored.take_error());
        return false;
      }
      if (*stored) index[Folded(**stored)].push_back(row.id);
      return true;
    }));
    EXAMORA_TRY(std::move(failure));
    it = text_indexes_.emplace(which, std::move(index)).first;
  }
  auto rows = it->second.find(FoldedName(key));
  if (rows == it->second.end()) return Found(std::span<const RowId>());
  return Found(std::span<const RowId>(rows->second));
}

const std::vector<RowId>* Database::RememberedRows(const TableDef& table,
                                                   const std::string& key) const {
  auto it = remembered_.find({table.tdef_page, key});
  return it == remembered_.end() ? nullptr : &it->second;
}

void Database::RememberRows(const TableDef& table, std::string key, std::vector<RowId> rows) {
  if (!at_rest_ || rows.size() > kMaxRememberedRows) return;
  size_t held = 0;
  for (const auto& [which, found] : remembered_) held += found.size();
  if (remembered_.size() >= kMaxRememberedConditions || held + rows.size() > kMaxRememberedRows) {
    remembered_.clear();
  }
  remembered_.insert_or_assign({table.tdef_page, std::move(key)}, std::move(rows));
}

Result<void> Database::VisitRows(const TableDef& table, std::span<const RowId> ids,
                                 const std::function<bool(const RowView&)>& visit) {
  ++scans_;
  struct Unpin {
    int& n;
    ~Unpin() { --n; }
  } unpin{scans_};
  for (const RowId& id : ids) {
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(id.page));
    if (page[0] != format::kDataPage ||
        LoadU32(&page[format::kPageOwnerOffset]) != table.tdef_page) {
      return Corrupt("page " + std::to_string(id.page) + " does not belong to its table");
    }
    EXAMORA_ASSIGN_OR_RETURN(auto bytes, RowBytes(page, id.row));
    if (LoadU16(&page[format::kDataPageHeader + 2 * size_t{id.row}]) &
        format::kRowDeletedOrPointer) {
      return Corrupt("a looked-up row is no longer live");
    }
    if (!visit(RowView{id, bytes})) break;
  }
  return base::Ok();
}

}  // namespace jet
