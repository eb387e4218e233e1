// Reading and updating an existing Jet 4 (Access 2000-2003) database file in place.
//
//   auto db = jet::Database::Open("exam.sys", jet::OpenMode::kReadWrite, u"secret");
//   auto table = db->ReadTable(u"test");
//   db->ScanRows(*table, [&](const jet::Row& row) { ...; return true; });
//
// Everything read from the file is bounds-checked: a damaged file gives kCorrupt, never a crash.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "base/result.h"
#include "jet/file.h"
#include "jet/format.h"
#include "jet/types.h"

namespace jet {

inline constexpr size_t kPageSize = format::kPageSize;

struct Column {
  std::u16string name;
  ColumnType type = ColumnType::kText;
  uint16_t number = 0;        // the column's bit in the null mask; the column order
  uint16_t var_index = 0;     // position among the variable columns (variable columns only)
  uint16_t fixed_offset = 0;  // position in the fixed area (fixed columns only)
  uint16_t length = 0;        // bytes: fixed size, or 2 x characters for text
  uint8_t flags = 0;
  uint8_t precision = 0;  // numeric columns
  uint8_t scale = 0;      // numeric columns
  // Ordinal among the fixed columns in column order (fixed columns only); decides whether a
  // short row holds the column.
  uint16_t fixed_ordinal = 0;

  // The table definition's flag decides, not the type: newer Access system tables store some
  // long-integer columns among the variable ones, and both independent readers follow the flag.
  bool fixed() const { return (flags & 0x01) != 0; }
};

struct TableDef {
  std::u16string name;
  uint32_t tdef_page = 0;
  uint32_t row_count = 0;
  uint16_t max_columns = 0;
  uint16_t var_columns = 0;
  bool system = false;
  std::vector<Column> columns;  // in column-number order
  uint32_t owned_map = 0;       // page << 8 | row of the owned-pages usage map

  // Index into `columns` of the column named `name` (case-insensitive), or -1.
  int FindColumn(std::u16string_view name) const;
  // The same for a name written in ASCII, without widening it first.
  int FindAsciiColumn(std::string_view name) const;
};

struct Currency {
  int64_t scaled = 0;  // value x 10,000
  bool operator==(const Currency&) const = default;
};
struct DateTime {
  double days = 0;  // days since 1899-12-30, the fraction is the time of day
  bool operator==(const DateTime&) const = default;
};
struct Guid {
  std::array<uint8_t, 16> bytes{};
  bool operator==(const Guid&) const = default;
};
struct Numeric {
  bool negative = false;
  unsigned __int128 magnitude = 0;  // the unscaled digits
  uint8_t precision = 0;
  uint8_t scale = 0;
  bool operator==(const Numeric&) const = default;
  std::string ToString() const;  // e.g. "-12.3400"
};

// A decoded cell. Text and memo are UTF-16; binary and long binary are bytes.
using Value = std::variant<std::monostate, bool, uint8_t, int16_t, int32_t, Currency, float, double,
                           DateTime, std::vector<uint8_t>, std::u16string, Guid, Numeric>;

// Where a row lives: its data page and its entry in that page's row table.
struct RowId {
  uint32_t page = 0;
  uint16_t row = 0;
  bool operator==(const RowId&) const = default;
  auto operator<=>(const RowId&) const = default;
};

// A row as scanned: its place and a copy of its bytes.
struct Row {
  RowId id;
  std::vector<uint8_t> bytes;
};

// A row seen during a scan: its bytes stay valid only until the visitor returns.
struct RowView {
  RowId id;
  std::span<const uint8_t> bytes;
};

// One changed fixed-width cell for Database::UpdateFixed.
struct FixedUpdate {
  RowId row;
  int column = 0;  // index into TableDef::columns
  Value value;     // of the column's own type, or std::monostate for null
};

struct CatalogEntry {
  std::u16string name;
  uint32_t tdef_page = 0;
  bool system = false;
};

class Database {
 public:
  // Opens `path`. A file with a database password opens only with exactly that password
  // (kBadPassword otherwise); a file without one accepts any password.
  static base::Result<std::unique_ptr<Database>> Open(const std::string& path, OpenMode mode,
                                                      std::u16string_view password = {});
  static base::Result<std::unique_ptr<Database>> Open(std::unique_ptr<File> file,
                                                      std::u16string_view password = {});

  // The tables of the catalog, user tables first in catalog order, then system tables.
  const std::vector<CatalogEntry>& tables() const { return tables_; }
  double creation_date() const { return creation_date_; }
  uint32_t page_count() const { return page_count_; }

  // Page `page` as the page cache holds it, or null when the cache does not hold it. The cache
  // never changes a page it has handed out (a page read again or written is a new one), so a
  // caller that keeps views into it (a record set's rows) keeps the page with them.
  std::shared_ptr<const std::vector<uint8_t>> SharedPage(uint32_t page) const {
    return cache_.Share(page);
  }

  // The definition of the table named `name` (case-insensitive); kept while the file rests.
  base::Result<TableDef> ReadTable(std::u16string_view name);
  // The same, shared with the connection rather than copied: a statement per question holds it
  // for as long as its rows are read.
  base::Result<std::shared_ptr<const TableDef>> SharedTable(std::u16string_view name);
  base::Result<TableDef> ReadTableAt(uint32_t tdef_page, std::u16string_view name);

  // Calls `visit` for each live row in physical order (the table's pages in page order, the
  // rows of a page in row-table order) until it returns false. Deleted rows and overflow
  // pointers are skipped; a row moved to another page is read where it now lives.
  base::Result<void> ScanRows(const TableDef& table, const std::function<bool(const Row&)>& visit);

  // The same without copying each row: for scans that look at most rows and keep few.
  base::Result<void> ScanRowViews(const TableDef& table,
                                  const std::function<bool(const RowView&)>& visit);

  // The value of `table.columns[column]` in `row`.
  base::Result<Value> ReadValue(const TableDef& table, const Row& row, int column);
  base::Result<Value> ReadValue(const TableDef& table, const RowView& row, int column);

  // The bytes of binary or long binary column `column` of `row` into `out`: the same as the
  // bytes ReadValue gives, without a copy for a caller that keeps them in a string. False (and
  // `out` empty) for null; kInvalid for a column of another type.
  base::Result<bool> ReadBytes(const TableDef& table, const RowView& row, int column,
                               std::string& out);

  // The stored bytes of a column that lives in the row (fixed columns, text, binary; the
  // 12-byte header for memo and long binary); nullopt for null.
  base::Result<std::optional<std::span<const uint8_t>>> FieldBytes(const TableDef& table,
                                                                   const RowView& row, int column);

  // Reads every row of `table` and the place of each of its long values: a quick check that
  // the table is whole (for example that the file was not cut short).
  base::Result<void> CheckTable(const TableDef& table);

  // Writes every change of `updates` into the file, then flushes it (or leaves the flush owed
  // while a deferral is open, see BeginSyncDeferral). All updates are checked first
  // (fixed-width column, value of the column's type, row present and holding the column); if
  // any fails nothing is written. Only the bytes of the changed fields (and of a null-mask
  // byte when a null becomes a value) change.
  base::Result<void> UpdateFixed(const TableDef& table, std::span<const FixedUpdate> updates);

  // Grouping updates under one flush. While a deferral is open, UpdateFixed writes its bytes in
  // place and leaves the flush owed instead of flushing. EndSyncDeferral closes one deferral
  // (they nest) and flushes whatever is owed, also when an outer one stays open, so its Ok
  // means that every change written so far is durable; after a failed flush the flush stays
  // owed. FlushOwed flushes what is owed without closing anything (Ok when nothing is).
  void BeginSyncDeferral() { ++sync_deferrals_; }
  base::Result<void> EndSyncDeferral();
  base::Result<void> FlushOwed();

  // The rows of `table` whose text column `column` holds `key`, compared as the query
  // language compares texts (Latin letters without regard to case), in physical order; nullopt
  // when no map of the column can be trusted yet, and the caller should scan. The first lookup
  // after Revalidate has found the file at rest builds the map in one scan; later lookups cost
  // a hash probe. Revalidate drops the maps whenever the file may have changed. In-place
  // updates write fixed-width cells only, so they never move a row or change a text. The rows
  // given are the map's own list, valid until Revalidate drops the maps.
  base::Result<std::optional<std::span<const RowId>>> RowsWithText(const TableDef& table,
                                                                   int column,
                                                                   std::u16string_view key);
  // Calls `visit` for the rows `ids` of `table` in the given order until it returns false;
  // kCorrupt when one of them is not a live row of the table.
  base::Result<void> VisitRows(const TableDef& table, std::span<const RowId> ids,
                               const std::function<bool(const RowView&)>& visit);

  // What a scan of `table` found for a condition that the caller names by `key` (keys that
  // differ for conditions that may select differently), in physical order; nullptr when nothing
  // is remembered. RememberRows keeps a scan's result only while the file rests (as for
  // RowsWithText); both kinds are forgotten when Revalidate finds that the file may have
  // changed, and remembered rows also by any update written through this connection.
  const std::vector<RowId>* RememberedRows(const TableDef& table, const std::string& key) const;
  void RememberRows(const TableDef& table, std::string key, std::vector<RowId> rows);

  // Drops the pages read so far when the file may have changed since (another program wrote
  // to it), so that what follows reads what is on disk now. Every statement starts with it.
  // Does nothing while a scan runs.
  base::Result<void> Revalidate();

  ~Database();

 private:
  explicit Database(std::unique_ptr<File> file);
  base::Result<void> ReadHeader(std::u16string_view password);
  base::Result<void> ReadCatalog();
  // A page through the cache. Once the cache is full, a page not in it empties it first, unless
  // `scratch` is given: then the page is read into it and not kept. The pages of a long value (a
  // paper's pictures) are read that way, so that they do not push the table's own pages out.
  base::Result<std::span<const uint8_t>> Page(uint32_t page,
                                              std::vector<uint8_t>* scratch = nullptr);
  base::Result<std::vector<uint32_t>> UsageMapPages(uint32_t pgrow);
  base::Result<std::span<const uint8_t>> RowBytes(std::span<const uint8_t> page, uint16_t row);
  // The bytes of the long value whose 12-byte header is `field`, into `out` (a byte vector or
  // string).
  template <typename Bytes>
  base::Result<void> ReadLongValue(std::span<const uint8_t> field, Bytes& out);

  std::unique_ptr<File> file_;
  uint32_t page_count_ = 0;
  double creation_date_ = 0;
  std::vector<CatalogEntry> tables_;
  // Pages read from the file: a slot per page number, so that finding a read page costs an
  // index. A page read again in place (after an update) keeps its buffer.
  class PageCache {
   public:
    const std::vector<uint8_t>* Find(uint32_t page) const {
      return page < slots_.size() ? slots_[page].get() : nullptr;
    }
    std::shared_ptr<const std::vector<uint8_t>> Share(uint32_t page) const {
      return page < slots_.size() ? slots_[page] : nullptr;
    }
    // A page read again or written replaces the one held, which stays as it was for whoever
    // shares it.
    const std::vector<uint8_t>& Put(uint32_t page, std::vector<uint8_t> bytes) {
      if (page >= slots_.size()) slots_.resize(size_t{page} + 1);
      if (!slots_[page]) ++count_;
      slots_[page] = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
      return *slots_[page];
    }
    void Erase(uint32_t page) {
      if (page < slots_.size() && slots_[page]) {
        slots_[page].reset();
        --count_;
      }
    }
    void Clear() {
      slots_.clear();
      count_ = 0;
    }
    size_t size() const { return count_; }

   private:
    std::vector<std::shared_ptr<const std::vector<uint8_t>>> slots_;
    size_t count_ = 0;
  };
  PageCache cache_;
  // Maps of text columns, by table definition page and column: folded text -> rows.
  using TextIndex = std::unordered_map<std::u16string, std::vector<RowId>>;
  std::map<std::pair<uint32_t, int>, TextIndex> text_indexes_;
  // By page, read while the file rested.
  std::map<uint32_t, std::shared_ptr<const TableDef>> definitions_;
  // Rows found by whole-table conditions, by table definition page and the caller's key; at
  // most 64 conditions and a million rows in all.
  std::map<std::pair<uint32_t, std::string>, std::vector<RowId>> remembered_;
  bool at_rest_ = false;    // the last Revalidate found the file as it was before
  int scans_ = 0;           // while a scan runs, cached pages stay put (views point into them)
  int sync_deferrals_ = 0;  // open deferrals of the flush after an update
  bool sync_owed_ = false;  // bytes were written in place since the last flush
};

// Decodes a stored text value: plain UCS-2LE, or the Jet 4 compressed form (FF FE ...).
std::u16string DecodeText(std::span<const uint8_t> bytes);

// A stored text in the compressed form whose characters are all ASCII (ids, numbers, keys):
// its characters are its bytes after FF FE. Nothing for any other text.
std::optional<std::string_view> CompressedAscii(std::span<const uint8_t> stored);

// Walks the characters of a stored text value one by one, without building the string.
class TextReader {
 public:
  explicit TextReader(std::span<const uint8_t> stored);
  bool Next(char16_t& c);  // false at the end

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 0;
  bool compressed_form_ = false;
  bool compressed_ = true;
};

}  // namespace jet
