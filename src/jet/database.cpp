#include "jet/database.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

#include "base/rc4.h"
#include "jet/bytes.h"

namespace jet {
namespace {

using base::ErrorCode;
using base::MakeError;
using base::Result;

// The header region 0x18..0x97 is XORed with RC4 under this fixed key.
constexpr uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
constexpr size_t kMaskedStart = 0x18;
constexpr size_t kMaskedSize = 128;
constexpr uint32_t kCatalogPage = 2;
constexpr size_t kMaxCachedPages = 4096;  // 16 MiB

constexpr uint16_t kRowDeletedOrPointer = 0x4000;
constexpr uint16_t kRowOffsetMask = 0x1FFF;

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::string Narrow(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

base::Unexpected<base::Error> Corrupt(std::string what) {
  return MakeError(ErrorCode::kCorrupt, "damaged database: " + std::move(what));
}

// Reads the little-endian integer of `size` bytes at `offset` of `bytes`, if it is inside.
bool Has(std::span<const uint8_t> bytes, size_t offset, size_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

}  // namespace

using base::Unexpected;

int TableDef::FindColumn(std::u16string_view wanted) const {
  for (size_t i = 0; i < columns.size(); ++i) {
    if (SameName(columns[i].name, wanted)) return static_cast<int>(i);
  }
  return -1;
}

std::string Numeric::ToString() const {
  std::string digits;
  unsigned __int128 m = magnitude;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
    m /= 10;
  } while (m != 0);
  if (scale > 0) {
    if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
    digits.insert(digits.size() - scale, ".");
  }
  return (negative ? "-" : "") + digits;
}

TextReader::TextReader(std::span<const uint8_t> stored) : bytes_(stored) {
  if (bytes_.size() >= 2 && bytes_[0] == 0xFF && bytes_[1] == 0xFE) {
    compressed_form_ = true;
    pos_ = 2;
  }
}

bool TextReader::Next(char16_t& c) {
  if (!compressed_form_) {
    if (pos_ + 2 > bytes_.size()) return false;
    c = static_cast<char16_t>(LoadU16(&bytes_[pos_]));
    pos_ += 2;
    return true;
  }
  while (pos_ < bytes_.size()) {
    const uint8_t b = bytes_[pos_];
    if (b == 0x00) {
      compressed_ = !compressed_;
      ++pos_;
    } else if (compressed_) {
      c = b;
      ++pos_;
      return true;
    } else if (pos_ + 1 < bytes_.size()) {
      c = static_cast<char16_t>(LoadU16(&bytes_[pos_]));
      pos_ += 2;
      return true;
    } else {
      return false;
    }
  }
  return false;
}

std::u16string DecodeText(std::span<const uint8_t> bytes) {
  std::u16string out;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    // Never longer than one character per byte; filled in place, cut to size at the end.
    out.resize(bytes.size() - 2);
    size_t n = 0;
    bool compressed = true;
    for (size_t i = 2; i < bytes.size(); ++i) {
      if (bytes[i] == 0x00) {
        compressed = !compressed;
      } else if (compressed) {
        out[n++] = static_cast<char16_t>(bytes[i]);
      } else if (i + 1 < bytes.size()) {
        out[n++] = static_cast<char16_t>(LoadU16(&bytes[i]));
        ++i;
      }
    }
    out.resize(n);
    return out;
  }
  out.resize(bytes.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(LoadU16(&bytes[2 * i]));
  return out;
}

Database::Database(std::unique_ptr<File> file) : file_(std::move(file)) {}
Database::~Database() = default;

Result<std::unique_ptr<Database>> Database::Open(const std::string& path, OpenMode mode,
                                                 std::u16string_view password) {
  EXAMORA_ASSIGN_OR_RETURN(auto file, OpenDiskFile(path, mode));
  return Open(std::move(file), password);
}

Result<std::unique_ptr<Database>> Database::Open(std::unique_ptr<File> file,
                                                 std::u16string_view password) {
  std::unique_ptr<Database> db(new Database(std::move(file)));
  EXAMORA_TRY(db->ReadHeader(password));
  EXAMORA_TRY(db->ReadCatalog());
  return db;
}

Result<void> Database::ReadHeader(std::u16string_view password) {
  const uint64_t size = file_->Size();
  if (size < kPageSize) return MakeError(ErrorCode::kCorrupt, "not a database: file too short");
  uint8_t page[kPageSize];
  EXAMORA_TRY(file_->ReadAt(0, std::span<uint8_t>(page, kPageSize)));
  static constexpr char kJet[] = "Standard Jet DB";
  static constexpr char kAce[] = "Standard ACE DB";
  static constexpr char kMsisam[] = "MSISAM Database";
  if (page[0] != 0x00 || page[1] != 0x01) {
    return MakeError(ErrorCode::kCorrupt, "not a database: bad header page");
  }
  if (std::memcmp(page + 4, kMsisam, 15) == 0 || std::memcmp(page + 4, kAce, 15) == 0) {
    return MakeError(ErrorCode::kUnsupported, "only Jet 4 (Access 2000-2003) files are supported");
  }
  if (std::memcmp(page + 4, kJet, 15) != 0) {
    return MakeError(ErrorCode::kCorrupt, "not a database: no Jet signature");
  }
  const uint32_t version = LoadU32(page + 0x14);
  if (version == 0) {
    return MakeError(ErrorCode::kUnsupported,
                     "Jet 3 (Access 97) files are not supported, only Jet 4");
  }
  if (version != 1) {
    return MakeError(ErrorCode::kUnsupported, "only Jet 4 (Access 2000-2003) files are supported");
  }
  if (size % kPageSize != 0 || size / kPageSize < 3 || size / kPageSize > 0xFFFFFF) {
    return Corrupt("length is not a whole number of pages");
  }
  page_count_ = static_cast<uint32_t>(size / kPageSize);

  uint8_t region[kMaskedSize];
  std::memcpy(region, page + kMaskedStart, kMaskedSize);
  base::Rc4(std::span<const uint8_t>(kHeaderKey, 4)).Apply(region);
  auto at = [&](size_t file_offset) { return region + (file_offset - kMaskedStart); };
  if (LoadU32(at(0x3E)) != 0) {
    return MakeError(ErrorCode::kUnsupported, "encoded (encrypted) databases are not supported");
  }
  creation_date_ = LoadF64(at(0x72));
  // The password is XORed with the whole days of the creation date, repeated.
  if (!std::isfinite(creation_date_) || std::fabs(creation_date_) >= 2147483647.0) {
    return Corrupt("creation date out of range");
  }
  const auto day = static_cast<int32_t>(creation_date_);
  uint8_t mask[4];
  StoreU32(mask, static_cast<uint32_t>(day));
  std::u16string stored;
  for (size_t i = 0; i < 40; i += 2) {
    const uint8_t* p = at(0x42) + i;
    auto c = static_cast<char16_t>((p[0] ^ mask[i % 4]) | ((p[1] ^ mask[(i + 1) % 4]) << 8));
    if (c == 0) break;
    stored += c;
  }
  if (!stored.empty() && stored != password) {
    return MakeError(ErrorCode::kBadPassword, password.empty()
                                                  ? "the database has a password"
                                                  : "wrong database password");
  }
  return base::Ok();
}

Result<void> Database::Revalidate() {
  if (scans_ > 0) return base::Ok();
  EXAMORA_ASSIGN_OR_RETURN(const bool changed, file_->Refresh());
  if (!changed) return base::Ok();
  cache_.clear();
  page_count_ = static_cast<uint32_t>(file_->Size() / kPageSize);
  return base::Ok();
}

Result<std::span<const uint8_t>> Database::Page(uint32_t page) {
  if (page >= page_count_) return Corrupt("reference to page " + std::to_string(page) +
                                          " beyond the end of the file");
  auto it = cache_.find(page);
  if (it != cache_.end()) return std::span<const uint8_t>(it->second);
  if (cache_.size() >= kMaxCachedPages && scans_ == 0) cache_.clear();
  std::vector<uint8_t> bytes(kPageSize);
  EXAMORA_TRY(file_->ReadAt(uint64_t{page} * kPageSize, bytes));
  auto [pos, inserted] = cache_.emplace(page, std::move(bytes));
  return std::span<const uint8_t>(pos->second);
}

// The bytes of entry `row` of a data page: from its offset up to where the entry before it
// starts (rows are packed from the end of the page, row 0 ending at the page end).
Result<std::span<const uint8_t>> Database::RowBytes(std::span<const uint8_t> page, uint16_t row) {
  const uint16_t count = LoadU16(&page[12]);
  if (row >= count || 14u + 2u * count > kPageSize) return Corrupt("row number out of range");
  const size_t start = LoadU16(&page[14 + 2 * row]) & kRowOffsetMask;
  size_t end = kPageSize;
  if (row > 0) end = LoadU16(&page[14 + 2 * (row - 1)]) & kRowOffsetMask;
  if (start < 14u + 2u * count || start >= end || end > kPageSize) {
    return Corrupt("row outside its page");
  }
  return page.subspan(start, end - start);
}

Result<std::vector<uint32_t>> Database::UsageMapPages(uint32_t pgrow) {
  EXAMORA_ASSIGN_OR_RETURN(auto page, Page(pgrow >> 8));
  if (page[0] != 0x01) return Corrupt("usage map not on a data page");
  EXAMORA_ASSIGN_OR_RETURN(auto map, RowBytes(page, static_cast<uint16_t>(pgrow & 0xFF)));
  std::vector<uint32_t> pages;
  if (map.empty()) return Corrupt("empty usage map");
  if (map[0] == 0) {
    if (map.size() < 5) return Corrupt("short usage map");
    const uint32_t start = LoadU32(&map[1]);
    for (size_t byte = 5; byte < map.size(); ++byte) {
      for (int bit = 0; bit < 8; ++bit) {
        if (map[byte] & (1u << bit)) {
          const uint64_t p = uint64_t{start} + (byte - 5) * 8 + static_cast<unsigned>(bit);
          if (p >= page_count_) return Corrupt("a table lists a page beyond the end of the file");
          pages.push_back(static_cast<uint32_t>(p));
        }
      }
    }
  } else if (map[0] == 1) {
    constexpr uint32_t kPagesPerMapPage = (kPageSize - 4) * 8;
    // Copy the slots first: reading the map pages may evict `map` from the cache.
    std::vector<uint32_t> slots;
    for (size_t at = 1; at + 4 <= map.size(); at += 4) slots.push_back(LoadU32(&map[at]));
    for (size_t slot = 0; slot < slots.size(); ++slot) {
      if (slots[slot] == 0) continue;
      EXAMORA_ASSIGN_OR_RETURN(auto bitmap, Page(slots[slot]));
      if (bitmap[0] != 0x05) return Corrupt("usage map points at a page that is no map page");
      for (size_t byte = 4; byte < kPageSize; ++byte) {
        if (bitmap[byte] == 0) continue;
        for (int bit = 0; bit < 8; ++bit) {
          if (bitmap[byte] & (1u << bit)) {
            const uint64_t p = uint64_t{slot} * kPagesPerMapPage + (byte - 4) * 8 +
                               static_cast<unsigned>(bit);
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

Result<TableDef> Database::ReadTableAt(uint32_t tdef_page, std::u16string_view name) {
  // Gather the definition: the first page whole, then bytes 8.. of each continuation page.
  std::vector<uint8_t> def;
  std::set<uint32_t> seen;
  uint32_t next = tdef_page;
  while (next != 0) {
    if (!seen.insert(next).second) return Corrupt("table definition pages form a loop");
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(next));
    if (page[0] != 0x02) return Corrupt("page " + std::to_string(next) + " is no table definition");
    if (def.empty()) {
      def.assign(page.begin(), page.end());
    } else {
      def.insert(def.end(), page.begin() + 8, page.end());
    }
    next = LoadU32(&page[4]);
  }
  // A catalog entry that points at page 0 gathers nothing.
  if (def.size() < 63) return Corrupt("no table definition for " + Narrow(name));
  std::span<const uint8_t> d(def);
  TableDef t;
  t.name = std::u16string(name);
  t.tdef_page = tdef_page;
  t.row_count = LoadU32(&d[16]);
  t.system = d[40] == 0x53;
  t.max_columns = LoadU16(&d[41]);
  t.var_columns = LoadU16(&d[43]);
  const uint16_t column_count = LoadU16(&d[45]);
  const uint32_t real_indexes = LoadU32(&d[51]);
  t.owned_map = LoadU32(&d[55]);
  if (real_indexes > 1000) return Corrupt("implausible index count");
  size_t at = 63 + 12 * size_t{real_indexes};
  if (!Has(d, at, size_t{column_count} * 25)) return Corrupt("table definition cut short");
  for (uint16_t i = 0; i < column_count; ++i, at += 25) {
    Column c;
    c.type = static_cast<ColumnType>(d[at]);
    c.number = LoadU16(&d[at + 5]);
    c.var_index = LoadU16(&d[at + 7]);
    c.precision = d[at + 11];
    c.scale = d[at + 12];
    c.flags = d[at + 15];
    c.fixed_offset = LoadU16(&d[at + 21]);
    c.length = LoadU16(&d[at + 23]);
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
  for (const auto& entry : tables_) {
    if (SameName(entry.name, name)) return ReadTableAt(entry.tdef_page, entry.name);
  }
  return MakeError(ErrorCode::kNotFound, "no table " + Narrow(name));
}

Result<void> Database::ScanRowViews(const TableDef& table,
                                    const std::function<bool(const RowView&)>& visit) {
  EXAMORA_ASSIGN_OR_RETURN(auto pages, UsageMapPages(table.owned_map));
  ++scans_;
  struct Unpin {
    int& n;
    ~Unpin() { --n; }
  } unpin{scans_};
  for (uint32_t number : pages) {
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(number));
    if (page[0] != 0x01 || LoadU32(&page[4]) != table.tdef_page) {
      return Corrupt("page " + std::to_string(number) + " does not belong to its table");
    }
    const uint16_t count = LoadU16(&page[12]);
    if (14u + 2u * count > kPageSize) return Corrupt("row table too long");
    for (uint16_t i = 0; i < count; ++i) {
      if (LoadU16(&page[14 + 2 * i]) & kRowDeletedOrPointer) continue;
      EXAMORA_ASSIGN_OR_RETURN(auto bytes, RowBytes(page, i));
      if (!visit(RowView{RowId{number, i}, bytes})) return base::Ok();
    }
  }
  return base::Ok();
}

Result<void> Database::ScanRows(const TableDef& table,
                                const std::function<bool(const Row&)>& visit) {
  Row row;
  return ScanRowViews(table, [&](const RowView& view) {
    row.id = view.id;
    row.bytes.assign(view.bytes.begin(), view.bytes.end());
    return visit(row);
  });
}

namespace {

// Where a column's bytes sit in a row, or that the row has no value for it.
struct Field {
  bool present = false;
  size_t offset = 0;
  size_t size = 0;
  bool bit = false;  // the null-mask bit (a boolean's value)
};

Result<Field> Locate(const TableDef& table, std::span<const uint8_t> row, const Column& c) {
  if (row.size() < 2) return Corrupt("row too short");
  const uint16_t count = LoadU16(&row[0]);
  const size_t mask_size = (size_t{count} + 7) / 8;
  if (row.size() < 2 + mask_size) return Corrupt("row too short for its null mask");
  const size_t mask_at = row.size() - mask_size;
  Field f;
  if (c.number < count) f.bit = (row[mask_at + c.number / 8] >> (c.number % 8)) & 1;
  size_t var_count = 0;
  if (table.var_columns > 0) {
    if (mask_at < 4) return Corrupt("row too short for its variable columns");
    var_count = LoadU16(&row[mask_at - 2]);
    if (mask_at < 4 + 2 * var_count) return Corrupt("variable offsets outside the row");
  }
  if (c.type == ColumnType::kBoolean) {
    f.present = c.number < count;
    return f;
  }
  if (!f.bit) return f;
  if (c.fixed()) {
    if (c.fixed_ordinal >= count - std::min<size_t>(count, var_count)) return f;
    f.offset = 2 + size_t{c.fixed_offset};
    f.size = c.length;
    if (!Has(row, f.offset, f.size) || f.offset + f.size > mask_at) {
      return Corrupt("fixed column outside the row");
    }
  } else {
    if (c.var_index >= var_count) return f;
    auto offset_of = [&](size_t i) { return size_t{LoadU16(&row[mask_at - 4 - 2 * i])}; };
    f.offset = offset_of(c.var_index);
    const size_t end = offset_of(c.var_index + 1);
    if (f.offset > end || end > mask_at) return Corrupt("variable column outside the row");
    f.size = end - f.offset;
  }
  f.present = true;
  return f;
}

}  // namespace

Result<std::vector<uint8_t>> Database::ReadLongValue(std::span<const uint8_t> field) {
  if (field.size() < 12) return Corrupt("long value header cut short");
  const uint32_t length = LoadU24(&field[0]);
  const uint8_t kind = field[3];
  uint32_t pgrow = LoadU32(&field[4]);
  std::vector<uint8_t> out;
  if (kind == 0x80) {
    if (field.size() < 12u + length) return Corrupt("inline long value cut short");
    out.assign(field.begin() + 12, field.begin() + 12 + length);
    return out;
  }
  if (kind != 0x40 && kind != 0x00) return Corrupt("unknown long value kind");
  out.reserve(length);
  std::set<uint32_t> seen;
  while (true) {
    if (!seen.insert(pgrow).second) return Corrupt("long value chain forms a loop");
    EXAMORA_ASSIGN_OR_RETURN(auto page, Page(pgrow >> 8));
    if (page[0] != 0x01) return Corrupt("long value not on a data page");
    EXAMORA_ASSIGN_OR_RETURN(auto bytes, RowBytes(page, static_cast<uint16_t>(pgrow & 0xFF)));
    if (kind == 0x40) {
      if (bytes.size() < length) return Corrupt("long value row cut short");
      out.assign(bytes.begin(), bytes.begin() + length);
      return out;
    }
    if (bytes.size() < 4) return Corrupt("long value chain row cut short");
    pgrow = LoadU32(&bytes[0]);
    const size_t chunk = std::min<size_t>(bytes.size() - 4, length - out.size());
    out.insert(out.end(), bytes.begin() + 4, bytes.begin() + 4 + static_cast<ptrdiff_t>(chunk));
    if (out.size() == length) return out;
    if (pgrow == 0) return Corrupt("long value chain ends early");
  }
}

Result<Value> Database::ReadValue(const TableDef& table, const Row& row, int column) {
  return ReadValue(table, RowView{row.id, row.bytes}, column);
}

Result<Value> Database::ReadValue(const TableDef& table, const RowView& row, int column) {
  if (column < 0 || static_cast<size_t>(column) >= table.columns.size()) {
    return MakeError(ErrorCode::kInvalid, "column index out of range");
  }
  const Column& c = table.columns[static_cast<size_t>(column)];
  const std::span<const uint8_t> bytes = row.bytes;
  EXAMORA_ASSIGN_OR_RETURN(Field f, Locate(table, bytes, c));
  if (c.type == ColumnType::kBoolean) return Value(f.present && f.bit);
  if (!f.present) return Value();
  auto data = bytes.subspan(f.offset, f.size);
  auto need = [&](size_t n) -> Result<void> {
    if (data.size() < n) return Corrupt("value shorter than its type");
    return base::Ok();
  };
  switch (c.type) {
    case ColumnType::kByte:
      EXAMORA_TRY(need(1));
      return Value(data[0]);
    case ColumnType::kInt16:
      EXAMORA_TRY(need(2));
      return Value(static_cast<int16_t>(LoadU16(data.data())));
    case ColumnType::kInt32:
      EXAMORA_TRY(need(4));
      return Value(static_cast<int32_t>(LoadU32(data.data())));
    case ColumnType::kCurrency:
      EXAMORA_TRY(need(8));
      return Value(Currency{static_cast<int64_t>(LoadU64(data.data()))});
    case ColumnType::kFloat:
      EXAMORA_TRY(need(4));
      return Value(LoadF32(data.data()));
    case ColumnType::kDouble:
      EXAMORA_TRY(need(8));
      return Value(LoadF64(data.data()));
    case ColumnType::kDateTime:
      EXAMORA_TRY(need(8));
      return Value(DateTime{LoadF64(data.data())});
    case ColumnType::kGuid: {
      EXAMORA_TRY(need(16));
      Guid g;
      std::copy_n(data.begin(), 16, g.bytes.begin());
      return Value(g);
    }
    case ColumnType::kNumeric: {
      EXAMORA_TRY(need(17));
      Numeric n;
      n.negative = (data[0] & 0x80) != 0;
      // Four 32-bit little-endian groups, the most significant first.
      for (int g = 0; g < 4; ++g) {
        n.magnitude = (n.magnitude << 32) | LoadU32(&data[1 + 4 * static_cast<size_t>(g)]);
      }
      n.precision = c.precision;
      n.scale = c.scale;
      return Value(n);
    }
    case ColumnType::kText:
      return Value(DecodeText(data));
    case ColumnType::kBinary:
      return Value(std::vector<uint8_t>(data.begin(), data.end()));
    case ColumnType::kMemo: {
      EXAMORA_ASSIGN_OR_RETURN(auto stored, ReadLongValue(data));
      return Value(DecodeText(stored));
    }
    case ColumnType::kLongBinary: {
      EXAMORA_ASSIGN_OR_RETURN(auto stored, ReadLongValue(data));
      return Value(std::move(stored));
    }
    case ColumnType::kComplex:
      EXAMORA_TRY(need(4));
      return Value(static_cast<int32_t>(LoadU32(data.data())));
    case ColumnType::kBoolean:
      break;
  }
  return MakeError(ErrorCode::kUnsupported,
                   "column " + Narrow(c.name) + " has an unknown type " +
                       std::to_string(static_cast<int>(c.type)));
}

Result<std::optional<std::span<const uint8_t>>> Database::FieldBytes(const TableDef& table,
                                                                     const RowView& row,
                                                                     int column) {
  if (column < 0 || static_cast<size_t>(column) >= table.columns.size()) {
    return MakeError(ErrorCode::kInvalid, "column index out of range");
  }
  EXAMORA_ASSIGN_OR_RETURN(Field f,
                           Locate(table, row.bytes, table.columns[static_cast<size_t>(column)]));
  if (!f.present) return std::optional<std::span<const uint8_t>>();
  return std::optional<std::span<const uint8_t>>(row.bytes.subspan(f.offset, f.size));
}

Result<void> Database::CheckTable(const TableDef& table) {
  Result<void> failure;
  EXAMORA_TRY(ScanRows(table, [&](const Row& row) {
    for (const Column& c : table.columns) {
      auto f = Locate(table, row.bytes, c);
      if (!f) {
        failure = base::Unexpected<base::Error>(f.take_error());
        return false;
      }
      if (!f->present || (c.type != ColumnType::kMemo && c.type != ColumnType::kLongBinary)) {
        continue;
      }
      if (f->size < 12) {
        failure = Corrupt("long value header cut short");
        return false;
      }
      const uint8_t* header = row.bytes.data() + f->offset;
      const uint8_t kind = header[3];
      const uint32_t page = LoadU32(header + 4) >> 8;
      const bool inline_ok = kind == 0x80 && f->size >= 12u + LoadU24(header);
      if (!inline_ok && !((kind == 0x40 || kind == 0x00) && page < page_count_ && page > 0)) {
        failure = Corrupt("a long value points outside the file");
        return false;
      }
    }
    return true;
  }));
  return failure;
}

Result<void> Database::ReadCatalog() {
  EXAMORA_ASSIGN_OR_RETURN(TableDef catalog, ReadTableAt(kCatalogPage, u"MSysObjects"));
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
        failure = Unexpected<base::Error>(v.take_error());
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
    const auto fl = std::holds_alternative<int32_t>(f)
                        ? static_cast<uint32_t>(std::get<int32_t>(f)) : 0u;
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
