// src/jet/reader_catalog.cpp
// Table definitions (gathered over their continuation pages) and the catalog of tables.
#include <algorithm>
#include <set>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/format.h"
#include "jet/names.h"
#include "jet/reader_internal.h"

namespace jet {

Result<TableDef> Database::ReadTableAt(uint32_t tdef_page, std::u16string_view name) {
  // Gather the definition: the first page whole, then bytes 8.. of each continuation page.
  std::vector<uint8_t> def;
  std::set<uint32_t> seen;
  uint32_t next = tdef_page;
  while (next != 0) {
    if (!seen.insert(next).second) return Corrupt("table definition pages form a loop");
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(next));
    if (page[0] != format::kTableDefinitionPage)
      return Corrupt("page " + std::to_string(next) + " is no table definition");
    if (def.empty()) {
      def.assign(page.begin(), page.end());
    } else {
      def.insert(def.end(), page.begin() + format::kContinuationHeader, page.end());
    }
    next = LoadU32(&page[format::kNextDefinitionPageOffset]);
  }
  // A catalog entry that points at page 0 gathers nothing.
  if (def.size() < format::kDefinitionHeader)
    return Corrupt("no table definition for " + Narrow(name));
  std::span<const uint8_t> d(def);
  TableDef t;
  t.name = std::u16string(name);
  t.tdef_page = tdef_page;
  t.row_count = LoadU32(&d[format::kTableRowCountOffset]);
  t.system = d[format::kTableKindOffset] == format::kSystemTable;
  t.max_columns = LoadU16(&d[format::kMaxColumnsOffset]);
  t.var_columns = LoadU16(&d[format::kVariableColumnsOffset]);
  const uint16_t column_count = LoadU16(&d[format::kColumnCountOffset]);
  const uint32_t real_indexes = LoadU32(&d[format::kRealIndexCountOffset]);
  t.owned_map = LoadU32(&d[format::kOwnedMapOffset]);
  if (real_indexes > 1000) return Corrupt("implausible index count");
  size_t at = format::kDefinitionHeader + format::kRealIndexCountEntry * size_t{real_indexes};
  if (!Has(d, at, size_t{column_count} * format::kColumnEntrySize)) {
    return Corrupt("table definition cut short");
  }
  for (uint16_t i = 0; i < column_count; ++i, at += format::kColumnEntrySize) {
    Column c;
    c.type = static_cast<ColumnType>(d[at + format::kColumnTypeAt]);
    c.number = LoadU16(&d[at + format::kColumnNumberAt]);
    c.var_index = LoadU16(&d[at + format::kColumnVarIndexAt]);
    c.precision = d[at + format::kColumnPrecisionAt];
    c.scale = d[at + format::kColumnScaleAt];
    c.flags = d[at + format::kColumnFlagsAt];
    c.fixed_offset = LoadU16(&d[at + format::kColumnFixedOffsetAt]);
    c.length = LoadU16(&d[at + format::kColumnLengthAt]);
    t.columns.push_back(std::move(c));
  }
  for (auto& c : t.columns) {
    if (!Has(d, at, 2)) return Corrupt("column names cut short");
    const uint16_t len = LoadU16(&d[at]);
    if (!Has(d, at + 2, len)) return Corrupt("column name cut short");
    c.name = DecodeText(d.subspan(at + 2, len));
    at += 2u + len;
  }
  // Columns come sorted by name in some files; readers order them by number.
  std::stable_sort(t.columns.begin(), t.columns.end(),
                   [](const Column& a, const Column& b) { return a.number < b.number; });
  uint16_t fixed_ordinal = 0;
  for (auto& c : t.columns) {
    if (c.fixed()) {
      c.fixed_ordinal = fixed_ordinal++;
    } else if (c.var_index >= t.var_columns) {
      return Corrupt("variable column index out of range");
    }
  }
  return t;
}

Result<TableDef> Database::ReadTable(std::u16string_view name) {
  EXAMORA_ASSIGN_OR_RETURN(auto table, SharedTable(name));
  return *table;
}

Result<std::shared_ptr<const TableDef>> Database::SharedTable(std::u16string_view name) {
  for (const auto& entry : tables_) {
    if (!SameName(entry.name, name)) continue;
    // While the file rests its definitions stay as read; updates in place never touch them.
    auto known = definitions_.find(entry.tdef_page);
    if (known != definitions_.end()) return known->second;
    EXAMORA_ASSIGN_OR_RETURN(TableDef read, ReadTableAt(entry.tdef_page, entry.name));
    auto table = std::make_shared<const TableDef>(std::move(read));
    if (at_rest_) definitions_.insert_or_assign(entry.tdef_page, table);
    return table;
  }
  return MakeError(ErrorCode::kNotFound, "no table " + Narrow(name));
}

Result<void> Database::ReadCatalog() {
  EXAMORA_ASSIGN_OR_RETURN(TableDef catalog, ReadTableAt(format::kCatalogPage, u"MSysObjects"));
  const int id = catalog.FindColumn(u"Id");
  const int name = catalog.FindColumn(u"Name");
  const int type = catalog.FindColumn(u"Type");
  const int flags = catalog.FindColumn(u"Flags");
  if (id < 0 || name < 0 || type < 0 || flags < 0) {
    return Corrupt("the catalog lacks its Id, Name, Type or Flags column");
  }
  std::vector<CatalogEntry> user, system;
  Result<void> failure;
  EXAMORA_TRY(ScanRows(catalog, [&](const Row& row) {
    auto read = [&](int column) -> Value {
      auto v = ReadValue(catalog, row, column);
      if (!v) {
        failure = base::Unexpected<base::Error>(v.take_error());
        return Value();
      }
      return std::move(*v);
    };
    Value t = read(type);
    if (!failure) return false;
    if (!std::holds_alternative<int16_t>(t) || (std::get<int16_t>(t) & 0x7F) != 1) return true;
    Value i = read(id), n = read(name), f = read(flags);
    if (!failure) return false;
    if (!std::holds_alternative<int32_t>(i) || !std::holds_alternative<std::u16string>(n)) {
      return true;
    }
    const auto fl =
        std::holds_alternative<int32_t>(f) ? static_cast<uint32_t>(std::get<int32_t>(f)) : 0u;
    CatalogEntry e{std::get<std::u16string>(n),
                   static_cast<uint32_t>(std::get<int32_t>(i)) & 0x00FFFFFF,
                   (fl & 0x80000002u) != 0};
    (e.system ? system : user).push_back(std::move(e));
    return true;
  }));
  EXAMORA_TRY(std::move(failure));
  tables_ = std::move(user);
  tables_.insert(tables_.end(), system.begin(), system.end());
  return base::Ok();
}

}  // namespace jet
