// src/jet/writer.cpp
// WriteDatabase: checks the input, lays out the system tables beside the user tables, and
// places every page. The bytes of each structure are built in writer_*.cpp.
//
// Page plan:
//   0          header                        1        database-wide free-page map
//   2          MSysObjects definition        3..5     MSysACEs, MSysQueries, MSysRelationships
//   6..        user table definitions (continuation pages follow their first page)
//   then       the data page(s) holding every usage map (owner 0)
//   then       catalog rows, access-control rows
//   per table  its long-value pages (each memo/long-binary column on pages of its own), then its
//              data pages, kept together so that a small map covers them, then one leaf page
//              per index
//   last       bitmap pages of usage maps too wide for an inline map
// Definitions and maps are written last, once row counts and page numbers are known; their
// sizes do not depend on those numbers, so their pages are reserved first.
#include "jet/writer.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <variant>

#include "jet/names.h"
#include "jet/writer_internal.h"

namespace jet {

namespace {

using base::ErrorCode;
using base::MakeError;
using base::Unexpected;
using namespace writer_internal;

// Catalog ids and flags (DO NOT CHANGE: on disk; readers key on them).
constexpr int32_t kRootId = 0x0F000000;
constexpr int32_t kTablesContainer = 0x0F000001;
constexpr int32_t kDatabasesContainer = 0x0F000002;
constexpr int32_t kRelationshipsContainer = 0x0F000003;
constexpr int32_t kDatabaseObject = 0x10000000;
constexpr int32_t kSystemObject = static_cast<int32_t>(0x80000000u);
constexpr int16_t kTypeTable = 1;
constexpr int16_t kTypeDatabase = 2;
constexpr int16_t kTypeContainer = 3;
// Owner SIDs and access-control entries as Jet records them in a new database: one owner for
// its own objects, one for the creating user; the ACM words are Jet's permission masks.
const std::vector<uint8_t> kEngineSid = {0x65, 0x89};
const std::vector<uint8_t> kCreatorSid = {0x64, 0x8B};
const std::vector<uint8_t> kAdminsSid = {0x65, 0x8B};
const std::vector<uint8_t> kUsersSid = {0x65, 0x8E};
constexpr int32_t kFullAccess = 1048319;

constexpr size_t kMaxNameLength = 64;
constexpr size_t kMaxColumns = 255;
constexpr size_t kMaxIndexes = 32;  // Jet's limit for one table
constexpr size_t kMaxPasswordLength = 20;
constexpr double kLastDate = 2958466.0;  // 10000-01-01

constexpr uint8_t kSystemColumnFlag = 0x10;
constexpr uint8_t kSidColumnFlag = 0x20;

const char* const kSystemTableNames[] = {"MSysObjects", "MSysACEs", "MSysQueries",
                                         "MSysRelationships"};

// A table as the page planner sees it.
struct PlannedTable {
  TableLayout layout;
  const std::vector<std::vector<CellValue>>* rows = nullptr;  // the caller's; null: own_rows
  std::vector<std::vector<CellValue>> own_rows;               // the system tables' rows
  std::vector<uint32_t> definition_pages;
  // Reserved usage-map rows: owned, free, then (owned, free) per long column, then one per
  // index.
  std::vector<uint32_t> map_rows;
  std::vector<uint32_t> data_pages;
  std::vector<uint32_t> row_pointers;  // of each row, in row order
  std::vector<uint32_t> index_pages;   // the leaf page of each index
  std::vector<uint32_t> free_pages;
  std::vector<std::vector<uint32_t>> long_pages;       // per long column: owned
  std::vector<std::vector<uint32_t>> long_free_pages;  // per long column: with room
  DefinitionValues values;
};

std::u16string Ascii16(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// Names follow Jet's rules: 1..64 characters, no leading space, no control characters and
// none of . ! ` [ ].
Result<std::u16string> CheckName(std::string_view utf8, const std::string& what) {
  EXAMORA_ASSIGN_OR_RETURN(std::u16string name, Utf8ToUtf16(utf8, what));
  if (name.empty() || name.size() > kMaxNameLength) {
    return MakeError(ErrorCode::kInvalid, what + " must have 1 to 64 characters");
  }
  if (name.front() == u' ') {
    return MakeError(ErrorCode::kInvalid, what + " must not start with a space");
  }
  for (char16_t c : name) {
    if (c < 0x20 || c == u'.' || c == u'!' || c == u'`' || c == u'[' || c == u']') {
      return MakeError(ErrorCode::kInvalid,
                       what + " must not hold control characters or any of . ! ` [ ]");
    }
  }
  return name;
}

bool IsWritableType(ColumnType type) {
  switch (type) {
    case ColumnType::kBoolean:
    case ColumnType::kByte:
    case ColumnType::kInt16:
    case ColumnType::kInt32:
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
    case ColumnType::kBinary:
    case ColumnType::kText:
    case ColumnType::kLongBinary:
    case ColumnType::kMemo:
      return true;
    default:
      return false;
  }
}

// The indexes of a user table: names as Jet allows them, distinct within the table; 1 to 10
// columns of the table each, none twice; at most one primary key. Only Text and Long Integer
// columns can be indexed (kUnsupported otherwise).
Result<std::vector<IndexLayout>> PlanIndexes(const WriterTable& table, const TableLayout& layout) {
  const std::string where = "table " + table.name;
  if (table.indexes.size() > kMaxIndexes) {
    return MakeError(ErrorCode::kInvalid, where + ": a table has at most 32 indexes, not " +
                                              std::to_string(table.indexes.size()));
  }
  std::vector<IndexLayout> out;
  std::set<std::u16string> names;
  bool have_primary_key = false;
  for (const WriterIndex& index : table.indexes) {
    const std::string what = where + ": index name \"" + index.name + "\"";
    EXAMORA_ASSIGN_OR_RETURN(std::u16string name, CheckName(index.name, what));
    if (!names.insert(FoldedName(name)).second) {
      return MakeError(ErrorCode::kInvalid, where + ": two indexes named " + index.name);
    }
    const std::string here = where + ", index " + index.name;
    if (index.columns.empty() || index.columns.size() > kMaxIndexColumns) {
      return MakeError(ErrorCode::kInvalid, here + ": an index covers 1 to 10 columns, not " +
                                                std::to_string(index.columns.size()));
    }
    IndexLayout planned;
    planned.name = std::move(name);
    for (const std::string& column_name : index.columns) {
      EXAMORA_ASSIGN_OR_RETURN(std::u16string wanted,
                               Utf8ToUtf16(column_name, here + ": column name"));
      const auto column = std::find_if(
          layout.columns.begin(), layout.columns.end(),
          [&](const ColumnLayout& c) { return FoldedName(c.name) == FoldedName(wanted); });
      if (column == layout.columns.end()) {
        return MakeError(ErrorCode::kInvalid, here + ": no column " + column_name);
      }
      if (std::find(planned.columns.begin(), planned.columns.end(), column->number) !=
          planned.columns.end()) {
        return MakeError(ErrorCode::kInvalid, here + ": column " + column_name + " twice");
      }
      if (column->type != ColumnType::kText && column->type != ColumnType::kInt32) {
        return MakeError(ErrorCode::kUnsupported,
                         here + ": the writer indexes Text and Long Integer columns only, not " +
                             ColumnTypeName(column->type) + " column " + column_name);
      }
      planned.columns.push_back(column->number);
    }
    if (index.primary_key) {
      if (have_primary_key) {
        return MakeError(ErrorCode::kInvalid, where + ": two primary keys");
      }
      have_primary_key = true;
    }
    planned.primary_key = index.primary_key;
    planned.flags = static_cast<uint8_t>(kIndexBaseFlags |
                                         (index.unique || index.primary_key ? kIndexUnique : 0) |
                                         (index.primary_key ? kIndexRequired : 0));
    out.push_back(std::move(planned));
  }
  return out;
}

Result<PlannedTable> PlanUserTable(const WriterTable& table) {
  const std::string table_what = "table name \"" + table.name + "\"";
  EXAMORA_ASSIGN_OR_RETURN(std::u16string name, CheckName(table.name, table_what));
  const std::string where = "table " + table.name;
  if (table.columns.empty() || table.columns.size() > kMaxColumns) {
    return MakeError(ErrorCode::kInvalid, where + ": a table has 1 to 255 columns, not " +
                                              std::to_string(table.columns.size()));
  }
  std::vector<ColumnSpec> specs;
  std::set<std::u16string> seen;
  for (const WriterColumn& column : table.columns) {
    const std::string what = where + ": column name \"" + column.name + "\"";
    EXAMORA_ASSIGN_OR_RETURN(std::u16string column_name, CheckName(column.name, what));
    if (!seen.insert(FoldedName(column_name)).second) {
      return MakeError(ErrorCode::kInvalid, where + ": two columns named " + column.name);
    }
    if (!IsWritableType(column.type)) {
      return MakeError(ErrorCode::kUnsupported, where + ", column " + column.name +
                                                    ": the writer does not store type 0x" +
                                                    std::to_string(static_cast<int>(column.type)));
    }
    if (column.type == ColumnType::kText && (column.length < 1 || column.length > 255)) {
      return MakeError(ErrorCode::kInvalid, where + ", column " + column.name +
                                                ": a text field holds 1 to 255 characters, not " +
                                                std::to_string(column.length));
    }
    ColumnSpec column_def;
    column_def.name = std::move(column_name);
    column_def.type = column.type;
    column_def.length = column.type == ColumnType::kBinary ? 510 : column.length;
    column_def.required = column.required;
    specs.push_back(std::move(column_def));
  }
  PlannedTable planned;
  planned.layout = BuildTableLayout(std::move(name), false, specs);
  EXAMORA_ASSIGN_OR_RETURN(planned.layout.indexes, PlanIndexes(table, planned.layout));
  planned.rows = &table.rows;
  return planned;
}

ColumnSpec SystemColumn(const char* name, ColumnType type, uint16_t length = 255) {
  ColumnSpec column_def;
  column_def.name = Ascii16(name);
  column_def.type = type;
  column_def.length = type == ColumnType::kBinary ? 510 : length;
  column_def.extra_flags =
      static_cast<uint8_t>(kSystemColumnFlag | (type == ColumnType::kBinary ? kSidColumnFlag : 0));
  return column_def;
}

PlannedTable SystemTable(const char* name, std::vector<ColumnSpec> columns) {
  PlannedTable planned;
  planned.layout = BuildTableLayout(Ascii16(name), true, columns);
  return planned;
}

// The four tables every Jet database has, with the column layouts Jet gives them.
std::vector<PlannedTable> SystemTables() {
  using T = ColumnType;
  std::vector<PlannedTable> out;
  out.push_back(SystemTable(
      "MSysObjects",
      {SystemColumn("Id", T::kInt32), SystemColumn("ParentId", T::kInt32),
       SystemColumn("Name", T::kText), SystemColumn("Type", T::kInt16),
       SystemColumn("DateCreate", T::kDateTime), SystemColumn("DateUpdate", T::kDateTime),
       SystemColumn("Owner", T::kBinary), SystemColumn("Flags", T::kInt32),
       SystemColumn("Database", T::kMemo), SystemColumn("Connect", T::kMemo),
       SystemColumn("ForeignName", T::kText), SystemColumn("RmtInfoShort", T::kBinary),
       SystemColumn("RmtInfoLong", T::kLongBinary), SystemColumn("Lv", T::kLongBinary),
       SystemColumn("LvProp", T::kLongBinary), SystemColumn("LvModule", T::kLongBinary),
       SystemColumn("LvExtra", T::kLongBinary)}));
  out.push_back(SystemTable(
      "MSysACEs", {SystemColumn("ObjectId", T::kInt32), SystemColumn("SID", T::kBinary),
                   SystemColumn("ACM", T::kInt32), SystemColumn("FInheritable", T::kBoolean)}));
  out.push_back(SystemTable(
      "MSysQueries", {SystemColumn("ObjectId", T::kInt32), SystemColumn("Attribute", T::kByte),
                      SystemColumn("Order", T::kBinary), SystemColumn("Name1", T::kText),
                      SystemColumn("Name2", T::kText), SystemColumn("Expression", T::kMemo),
                      SystemColumn("Flag", T::kInt16), SystemColumn("LvExtra", T::kInt32)}));
  out.push_back(
      SystemTable("MSysRelationships",
                  {SystemColumn("szRelationship", T::kText), SystemColumn("grbit", T::kInt32),
                   SystemColumn("ccolumn", T::kInt32), SystemColumn("icolumn", T::kInt32),
                   SystemColumn("szObject", T::kText), SystemColumn("szColumn", T::kText),
                   SystemColumn("szReferencedObject", T::kText),
                   SystemColumn("szReferencedColumn", T::kText)}));
  return out;
}

std::vector<CellValue> CatalogRow(int32_t id, int32_t parent, std::u16string name, int16_t type,
                                  double date, const std::vector<uint8_t>& owner, int32_t flags) {
  std::vector<CellValue> row(17);
  row[0] = id;
  row[1] = parent;
  row[2] = std::move(name);
  row[3] = type;
  row[4] = date;
  row[5] = date;
  row[6] = owner;
  row[7] = flags;
  return row;
}

std::vector<CellValue> AceRow(int32_t object, const std::vector<uint8_t>& sid, int32_t mask,
                              bool inheritable) {
  return {object, sid, mask, inheritable};
}

// Rows of MSysObjects and MSysACEs: the three containers, the database object, the four
// system tables, then one row per user table in the caller's order (readers list tables in
// catalog order).
void FillCatalog(std::vector<PlannedTable>* tables, size_t system_count, double date) {
  auto id_of = [&](size_t i) { return static_cast<int32_t>((*tables)[i].definition_pages[0]); };
  std::vector<std::vector<CellValue>>& objects = (*tables)[0].own_rows;
  objects.push_back(CatalogRow(kTablesContainer, kRootId, u"Tables", kTypeContainer, date,
                               kEngineSid, kSystemObject));
  objects.push_back(CatalogRow(kDatabasesContainer, kRootId, u"Databases", kTypeContainer, date,
                               kEngineSid, kSystemObject));
  objects.push_back(CatalogRow(kRelationshipsContainer, kRootId, u"Relationships", kTypeContainer,
                               date, kEngineSid, kSystemObject));
  objects.push_back(CatalogRow(kDatabaseObject, kDatabasesContainer, u"MSysDb", kTypeDatabase, date,
                               kCreatorSid, kSystemObject));
  for (size_t i = 0; i < tables->size(); ++i) {
    const bool system = i < system_count;
    objects.push_back(CatalogRow(id_of(i), kTablesContainer, (*tables)[i].layout.name, kTypeTable,
                                 date, system ? kEngineSid : kCreatorSid,
                                 system ? kSystemObject : 0));
  }

  const int32_t msys_objects = id_of(0), msys_aces = id_of(1), msys_queries = id_of(2),
                msys_relationships = id_of(3);
  std::vector<std::vector<CellValue>>& aces = (*tables)[1].own_rows;
  aces = {
      AceRow(msys_objects, kCreatorSid, 393216, false),
      AceRow(msys_aces, kCreatorSid, 393216, false),
      AceRow(msys_queries, kCreatorSid, 393216, false),
      AceRow(msys_relationships, kCreatorSid, 917504, false),
      AceRow(kTablesContainer, kUsersSid, 983294, true),
      AceRow(kTablesContainer, kCreatorSid, 393217, false),
      AceRow(kRelationshipsContainer, kUsersSid, 983294, true),
      AceRow(kRelationshipsContainer, kCreatorSid, 393217, false),
      AceRow(kDatabasesContainer, kCreatorSid, 393216, false),
      AceRow(kDatabaseObject, kCreatorSid, 393230, false),
      AceRow(kDatabaseObject, kAdminsSid, 14, false),
      AceRow(msys_queries, kAdminsSid, 20, false),
      AceRow(msys_relationships, kAdminsSid, 20, false),
      AceRow(msys_objects, kAdminsSid, 20, false),
      AceRow(kTablesContainer, kAdminsSid, kFullAccess, true),
      AceRow(kRelationshipsContainer, kAdminsSid, 1048575, true),
  };
  for (size_t i = system_count; i < tables->size(); ++i) {
    aces.push_back(AceRow(id_of(i), kCreatorSid, kFullAccess, false));
    aces.push_back(AceRow(id_of(i), kAdminsSid, kFullAccess, false));
  }
}

size_t LongColumnCount(const TableLayout& layout) {
  return static_cast<size_t>(
      std::count_if(layout.columns.begin(), layout.columns.end(),
                    [](const ColumnLayout& c) { return IsLongValue(c.type); }));
}

// The definition with every value still zero: only its length matters at this point.
DefinitionValues PlaceholderValues(const TableLayout& layout) {
  DefinitionValues values;
  for (const ColumnLayout& c : layout.columns) {
    if (IsLongValue(c.type)) values.long_columns.push_back({c.number, 0, 0});
  }
  return values;
}

// Encodes and places the rows of one table: long values first, then the data pages.
Result<void> PlaceRows(PlannedTable* table, PageStore* store) {
  const TableLayout& layout = table->layout;
  const std::vector<std::vector<CellValue>>& values =
      table->rows != nullptr ? *table->rows : table->own_rows;
  LongValueStore long_values(store, layout);
  std::vector<std::vector<uint8_t>> rows;
  rows.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    EXAMORA_ASSIGN_OR_RETURN(std::vector<uint8_t> row,
                             EncodeRow(layout, values[i], i, &long_values));
    rows.push_back(std::move(row));
  }
  RowPageWriter data(store, table->definition_pages[0]);
  table->row_pointers.reserve(rows.size());
  for (const std::vector<uint8_t>& row : rows) table->row_pointers.push_back(data.Append(row));
  table->data_pages = data.pages();
  table->free_pages = data.PagesWithRoom(MinimumRowSize(layout) + 2);
  for (const auto& [number, writer] : long_values.writers()) {
    table->long_pages.push_back(writer.pages());
    table->long_free_pages.push_back(writer.PagesWithRoom(kMaxInlineLongValue + 1 + 2));
  }
  table->values.row_count = static_cast<uint32_t>(rows.size());
  return base::Ok();
}

// Builds the entries of each index of a table whose rows are placed and writes them on a leaf
// page of its own. kUnsupported for an index whose entries would not fit one page; kInvalid for
// a null in a primary key and for two rows with one key in a unique index (rows with a null in
// the key do not count there, as in Jet).
Result<void> PlaceIndexes(PlannedTable* table, PageStore* store) {
  const TableLayout& layout = table->layout;
  const std::vector<std::vector<CellValue>>& values =
      table->rows != nullptr ? *table->rows : table->own_rows;
  for (const IndexLayout& index : layout.indexes) {
    const std::string where =
        "table " + Utf16ToUtf8(layout.name) + ", index " + Utf16ToUtf8(index.name);
    const bool unique = (index.flags & kIndexUnique) != 0;
    std::vector<IndexEntry> entries;
    entries.reserve(values.size());
    std::set<std::vector<uint8_t>> unique_keys;
    size_t bytes = 0;
    for (size_t r = 0; r < values.size(); ++r) {
      const std::string at = where + ", row " + std::to_string(r);
      IndexEntry entry;
      entry.row_pointer = table->row_pointers[r];
      bool has_null = false;
      for (uint16_t number : index.columns) {
        const ColumnLayout& column = layout.columns[number];
        const CellValue& value = values[r][number];
        if (std::holds_alternative<std::monostate>(value)) {
          has_null = true;
          if (index.primary_key) {
            return MakeError(ErrorCode::kInvalid,
                             at + ": primary key column " + Utf16ToUtf8(column.name) + " is null");
          }
        }
        auto appended = AppendIndexKey(column.type, value, &entry.key);
        if (!appended) {
          return MakeError(appended.error().code, at + ", column " + Utf16ToUtf8(column.name) +
                                                      ": " + appended.error().message);
        }
      }
      if (unique && !has_null && !unique_keys.insert(entry.key).second) {
        return MakeError(ErrorCode::kInvalid, at + ": the key is already in this unique index "
                                                   "(case does not count)");
      }
      bytes += IndexEntrySize(entry);
      if (bytes > kMaxLeafEntryBytes) {
        return MakeError(ErrorCode::kUnsupported,
                         where + ": the entries of the first " + std::to_string(r + 1) +
                             " rows already fill more than one index page; the writer makes "
                             "single-page indexes only");
      }
      entries.push_back(std::move(entry));
    }
    SortIndexEntries(&entries);
    uint32_t distinct = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (i == 0 || entries[i].key != entries[i - 1].key) ++distinct;
    }
    const uint32_t page = store->Allocate();
    EncodeLeafPage(entries, table->definition_pages[0], store->Page(page));
    table->index_pages.push_back(page);
    table->values.indexes.push_back({0, page, distinct});
  }
  return base::Ok();
}

Result<void> CheckOptions(const WriterOptions& options) {
  if (options.password.size() > kMaxPasswordLength) {
    return MakeError(ErrorCode::kInvalid, "the database password has " +
                                              std::to_string(options.password.size()) +
                                              " characters; at most 20 fit");
  }
  if (options.password.find(u'\0') != std::u16string::npos) {
    return MakeError(ErrorCode::kInvalid, "the database password must not contain U+0000");
  }
  if (!std::isfinite(options.creation_date) || options.creation_date < 0 ||
      options.creation_date >= kLastDate) {
    return MakeError(ErrorCode::kInvalid,
                     "the creation date must lie between 1899-12-30 and 9999-12-31");
  }
  return base::Ok();
}

// A rough count of the pages the tables will take, so that the file grows in one step.
size_t EstimatePages(const std::vector<WriterTable>& tables) {
  size_t bytes = 0;
  for (const WriterTable& table : tables) {
    for (const std::vector<CellValue>& row : table.rows) {
      bytes += 16 + 2 * row.size();
      for (const CellValue& value : row) {
        if (const auto* text = std::get_if<std::u16string>(&value)) bytes += text->size() * 2;
        if (const auto* data = std::get_if<std::vector<uint8_t>>(&value)) bytes += data->size();
      }
    }
  }
  return std::min<size_t>(kMaxPages, 16 + 4 * tables.size() + bytes / 4000);
}

Result<void> CheckPageCount(const PageStore& store) {
  if (store.count() > kMaxPages) {
    return MakeError(ErrorCode::kInvalid, "the database would take " +
                                              std::to_string(store.count()) +
                                              " pages; a Jet 4 file holds at most 2 GB");
  }
  return base::Ok();
}

}  // namespace

base::Result<std::vector<uint8_t>> WriteDatabase(const std::vector<WriterTable>& tables,
                                                 const WriterOptions& options) {
  EXAMORA_TRY(CheckOptions(options));
  std::vector<PlannedTable> planned = SystemTables();
  const size_t system_count = planned.size();
  std::set<std::u16string> names;
  for (const char* name : kSystemTableNames) names.insert(FoldedName(Ascii16(name)));
  for (const WriterTable& table : tables) {
    EXAMORA_ASSIGN_OR_RETURN(PlannedTable user, PlanUserTable(table));
    if (!names.insert(FoldedName(user.layout.name)).second) {
      return MakeError(ErrorCode::kInvalid,
                       "two tables named " + table.name + " (or one named like a system table)");
    }
    planned.push_back(std::move(user));
  }

  PageStore store;
  store.Reserve(EstimatePages(tables));
  store.Allocate();  // 0: header
  store.Allocate();  // 1: free-page map
  for (PlannedTable& table : planned) {
    const size_t length = EncodeDefinition(table.layout, PlaceholderValues(table.layout)).size();
    for (size_t i = 0; i < DefinitionPageCount(length); ++i) {
      table.definition_pages.push_back(store.Allocate());
    }
    EXAMORA_TRY(CheckPageCount(store));
  }

  RowPageWriter maps(&store, 0);
  for (PlannedTable& table : planned) {
    const size_t count = 2 + 2 * LongColumnCount(table.layout) + table.layout.indexes.size();
    for (size_t i = 0; i < count; ++i) table.map_rows.push_back(maps.Reserve(kUsageMapRowSize));
  }

  FillCatalog(&planned, system_count, options.creation_date);
  for (PlannedTable& table : planned) {
    EXAMORA_TRY(PlaceRows(&table, &store));
    EXAMORA_TRY(PlaceIndexes(&table, &store));
    EXAMORA_TRY(CheckPageCount(store));
  }

  for (PlannedTable& table : planned) {
    DefinitionValues& values = table.values;
    size_t next_map = 0;
    auto encode_map = [&](const std::vector<uint32_t>& pages) {
      const uint32_t row = table.map_rows[next_map++];
      // Encoded aside: a wide map allocates pages, which moves the rows in memory.
      uint8_t bytes[kUsageMapRowSize];
      EncodeUsageMap(pages, &store, bytes);
      std::copy(bytes, bytes + kUsageMapRowSize, maps.Row(row).begin());
      return row;
    };
    values.owned_map = encode_map(table.data_pages);
    values.free_map = encode_map(table.free_pages);
    size_t long_index = 0;
    for (const ColumnLayout& column : table.layout.columns) {
      if (!IsLongValue(column.type)) continue;
      LongColumnMaps long_maps;
      long_maps.column_number = column.number;
      long_maps.owned_map = encode_map(table.long_pages[long_index]);
      long_maps.free_map = encode_map(table.long_free_pages[long_index]);
      values.long_columns.push_back(long_maps);
      ++long_index;
    }
    for (size_t i = 0; i < table.index_pages.size(); ++i) {
      values.indexes[i].map = encode_map({table.index_pages[i]});
    }
    const std::vector<uint8_t> definition = EncodeDefinition(table.layout, values);
    StoreDefinition(definition, table.definition_pages, &store);
  }
  EXAMORA_TRY(CheckPageCount(store));

  EncodeHeaderPage(options.password, options.creation_date, store.Page(0));
  EncodeFreePageMap(store.count(), store.Page(1));
  return store.Take();
}

}  // namespace jet
