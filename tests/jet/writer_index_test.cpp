// Tests of the writer's indexes: keys and leaf pages against what Access wrote in the sample
// files, the index blocks of a definition, whole files read back entry by entry, and the
// indexes the writer refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>

#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/file.h"
#include "jet/index_pages.h"
#include "jet/writer.h"
#include "jet/writer_internal.h"
#include "support/process.h"

namespace {

namespace wi = jet::writer_internal;
using base::ErrorCode;
using jet::CellValue;
using jet::ColumnType;
using jet::WriterIndex;
using jet::WriterTable;

constexpr size_t kPage = wi::kPageSize;

std::filesystem::path Samples() { return EXAMORA_SAMPLES_DIR; }

std::unique_ptr<jet::Database> OpenBytes(const std::vector<uint8_t>& bytes,
                                         std::u16string_view password = {}) {
  auto db = jet::Database::Open(
      std::make_unique<jet::MemFile>(std::string(bytes.begin(), bytes.end()), false), password);
  EXPECT_TRUE(db) << db.error().message;
  return db ? std::move(*db) : nullptr;
}

// A value as the reader gives it, in the writer's terms; nullopt for the types indexes here
// do not take.
std::optional<CellValue> AsCell(const jet::Value& v) {
  if (std::holds_alternative<std::monostate>(v)) return CellValue{};
  if (const auto* n = std::get_if<int32_t>(&v)) return CellValue{*n};
  if (const auto* t = std::get_if<std::u16string>(&v)) return CellValue{*t};
  return std::nullopt;
}

std::vector<uint8_t> KeyOf(ColumnType type, const CellValue& value) {
  std::vector<uint8_t> key;
  auto r = wi::AppendIndexKey(type, value, &key);
  EXPECT_TRUE(r) << r.error().message;
  return key;
}

// The sort bytes of an ASCII text: its key without the flag and the two closing bytes.
std::vector<uint8_t> SortBytes(std::u16string_view text) {
  std::vector<uint8_t> key = KeyOf(ColumnType::kText, std::u16string(text));
  return std::vector<uint8_t>(key.begin() + 1, key.end() - 2);
}

bool Contains(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle,
              size_t from = 0) {
  return std::search(hay.begin() + static_cast<std::ptrdiff_t>(from), hay.end(), needle.begin(),
                     needle.end()) != hay.end();
}

// --- Against Access ---------------------------------------------------------------------------

// Every index in the samples whose keys this writer can encode is rebuilt from the rows the
// engine's reader finds, with the row pointers Access used, and compared with the leaf Access
// wrote, byte for byte up to the end of its last entry (past it some Access pages keep stale
// bytes of earlier entries).
TEST(WriterIndexAccessTest, LeafPagesMatchWhatAccessWroteForTheSameKeys) {
  size_t compared = 0, text_keys = 0;
  std::set<std::string> seen;
  for (const auto& item : std::filesystem::directory_iterator(Samples())) {
    if (item.path().extension() != ".mdb") continue;
    const std::string file_name = item.path().filename().string();
    const std::vector<uint8_t> file = testing_support::ReadBytes(item.path());
    auto db = OpenBytes(file, file_name == "passwordV2000.mdb" ? u"password" : u"");
    ASSERT_TRUE(db) << file_name;
    for (const jet::CatalogEntry& entry : db->tables()) {
      auto def = db->ReadTableAt(entry.tdef_page, entry.name);
      ASSERT_TRUE(def) << file_name << ": " << def.error().message;
      // Some system tables of later Access versions store Long Integers as variable-length
      // fields (no fixed-width flag), which the engine's reader does not decode.
      if (std::any_of(def->columns.begin(), def->columns.end(), [](const jet::Column& c) {
            return jet::IsFixedWidth(c.type) && (c.flags & 0x01) == 0;
          })) {
        EXPECT_TRUE(entry.system) << file_name << " " << wi::Utf16ToUtf8(entry.name);
        continue;
      }
      auto indexes = index_pages::ReadTableIndexes(file, entry.tdef_page);
      ASSERT_TRUE(indexes) << file_name << " page " << entry.tdef_page;
      std::vector<jet::Row> rows;
      ASSERT_TRUE(db->ScanRows(*def, [&](const jet::Row& row) {
        rows.push_back(row);
        return true;
      }));
      for (size_t i = 0; i < indexes->real.size(); ++i) {
        const index_pages::RealIndex& real = indexes->real[i];
        std::vector<int> columns;  // into def->columns
        for (uint16_t number : real.columns) {
          for (size_t c = 0; c < def->columns.size(); ++c) {
            if (def->columns[c].number == number) columns.push_back(static_cast<int>(c));
          }
        }
        ASSERT_EQ(columns.size(), real.columns.size());
        // Only the types the writer indexes.
        if (!std::all_of(columns.begin(), columns.end(), [&](int c) {
              const ColumnType t = def->columns[static_cast<size_t>(c)].type;
              return t == ColumnType::kText || t == ColumnType::kInt32;
            })) {
          continue;
        }
        const std::string where =
            file_name + " " + wi::Utf16ToUtf8(entry.name) + " index " + std::to_string(i);
        std::vector<wi::IndexEntry> entries;
        bool encodable = true, has_text = false;
        for (const jet::Row& row : rows) {
          wi::IndexEntry e;
          e.row_pointer = wi::MakeRowPointer(row.id.page, row.id.row);
          for (int c : columns) {
            const ColumnType type = def->columns[static_cast<size_t>(c)].type;
            auto value = db->ReadValue(*def, row, c);
            ASSERT_TRUE(value) << where << ": " << value.error().message;
            const std::optional<CellValue> cell = AsCell(*value);
            if (!cell || !wi::AppendIndexKey(type, *cell, &e.key)) encodable = false;
            has_text = has_text || type == ColumnType::kText;
          }
          entries.push_back(std::move(e));
        }
        if (!encodable) continue;
        wi::SortIndexEntries(&entries);
        std::vector<uint8_t> page(kPage);
        wi::EncodeLeafPage(entries, entry.tdef_page, page.data());
        const uint8_t* access = file.data() + size_t{real.root} * kPage;
        const size_t end = kPage - jet::LoadU16(access + 2);
        EXPECT_EQ(jet::LoadU16(page.data() + 2), jet::LoadU16(access + 2)) << where;
        EXPECT_TRUE(
            std::equal(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(end), access))
            << where;
        EXPECT_TRUE(std::all_of(page.begin() + static_cast<std::ptrdiff_t>(end), page.end(),
                                [](uint8_t b) { return b == 0; }));
        ++compared;
        if (has_text && !entries.empty()) ++text_keys;
        seen.insert(where);
      }
    }
  }
  EXPECT_GE(compared, 100u);
  EXPECT_GE(text_keys, 20u);
  // A user table's Long Integer primary key, a user table's Text index, and the catalog's
  // index on parent and name.
  EXPECT_EQ(seen.count("indexTestV2000.mdb Table1 index 1"), 1u);
  EXPECT_EQ(seen.count("testV2000.mdb Table1 index 1"), 1u);
  EXPECT_EQ(seen.count("testV2000.mdb MSysObjects index 0"), 1u);
}

// Digits 0 and 5..9 and the letters w, x, z sort in no index the comparison above can rebuild.
// One Access entry has them all: the key of a text holding every character from U+0001 to
// U+00FF in order, where digits and letters each give one sort byte.
TEST(WriterIndexAccessTest, DigitAndLetterBytesAreThoseOfAccessKeyOfEveryCharacter) {
  const std::vector<uint8_t> file =
      testing_support::ReadBytes(Samples() / "testUnicodeCompV2003.mdb");
  auto db = OpenBytes(file);
  ASSERT_TRUE(db);
  auto def = db->ReadTable(u"Table");
  ASSERT_TRUE(def);
  auto indexes = index_pages::ReadTableIndexes(file, def->tdef_page);
  ASSERT_TRUE(indexes);
  std::optional<index_pages::Leaf> leaf;
  for (const auto& real : indexes->real) {
    if (real.columns == std::vector<uint16_t>{1})
      leaf = index_pages::ReadLeaf(file.data() + real.root * kPage);
  }
  ASSERT_TRUE(leaf);
  // Find that text's entry through the row it points to.
  std::u16string every;
  for (char16_t c = 1; c <= 0xFF; ++c) every.push_back(c);
  std::vector<uint8_t> key;
  ASSERT_TRUE(db->ScanRows(*def, [&](const jet::Row& row) {
    auto v = db->ReadValue(*def, row, 1);
    if (!v || std::get_if<std::u16string>(&*v) == nullptr || std::get<std::u16string>(*v) != every)
      return true;
    for (const auto& e : leaf->entries) {
      if (e.page == row.id.page && e.row == row.id.row) key = e.key;
    }
    return false;
  }));
  ASSERT_FALSE(key.empty());
  const std::vector<uint8_t> digits = SortBytes(u"0123456789");
  const std::vector<uint8_t> upper = SortBytes(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(SortBytes(u"abcdefghijklmnopqrstuvwxyz"), upper);
  // "/0123456789:;<=>?@ABC...Z": ten digit bytes, seven of punctuation, then the letters; the
  // lower-case run follows later.
  auto at = std::search(key.begin(), key.end(), digits.begin(), digits.end());
  ASSERT_NE(at, key.end());
  const size_t letters = static_cast<size_t>(at - key.begin()) + 10 + 7;
  ASSERT_LT(letters + 26, key.size());
  EXPECT_TRUE(
      std::equal(upper.begin(), upper.end(), key.begin() + static_cast<std::ptrdiff_t>(letters)));
  EXPECT_TRUE(Contains(key, upper, letters + 26));
}

// The index blocks of a definition as Access wrote them for testV2000.mdb's Table1: a primary
// key on A (number 0) and an index "B" on B (number 1), logical entries in name order.
TEST(WriterIndexAccessTest, DefinitionBlocksMatchAccessForAPrimaryKeyAndAnIndex) {
  const std::vector<uint8_t> file = testing_support::ReadBytes(Samples() / "testV2000.mdb");
  auto db = OpenBytes(file);
  ASSERT_TRUE(db);
  auto def = db->ReadTable(u"Table1");
  ASSERT_TRUE(def);
  auto access = index_pages::ReadTableIndexes(file, def->tdef_page);
  ASSERT_TRUE(access);
  ASSERT_EQ(access->real.size(), 2u);

  std::vector<wi::ColumnSpec> specs;
  for (const jet::Column& c : def->columns) {
    wi::ColumnSpec column;
    column.name = c.name;
    column.type = c.type;
    column.length = static_cast<uint16_t>(c.type == ColumnType::kText ? c.length / 2 : c.length);
    specs.push_back(column);
  }
  wi::TableLayout layout = wi::BuildTableLayout(u"Table1", false, specs);
  wi::IndexLayout primary;
  primary.name = u"PrimaryKey";
  primary.columns = {0};
  primary.primary_key = true;
  primary.flags = wi::kIndexBaseFlags | wi::kIndexUnique | wi::kIndexRequired;
  wi::IndexLayout b;
  b.name = u"B";
  b.columns = {1};
  layout.indexes = {primary, b};
  wi::DefinitionValues values;
  for (const auto& real : access->real)
    values.indexes.push_back({real.map, real.root, real.distinct});
  const std::vector<uint8_t> ours = wi::EncodeDefinition(layout, values);
  wi::PageStore store;
  store.Allocate();
  store.Allocate();
  wi::StoreDefinition(ours, std::vector<uint32_t>{1}, &store);
  const std::vector<uint8_t> pages = store.Take();
  auto mine = index_pages::ReadTableIndexes(pages, 1);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->logical_count, access->logical_count);
  EXPECT_EQ(mine->real_count, access->real_count);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(mine->real[i].raw, access->real[i].raw) << "real index " << i;
    EXPECT_EQ(mine->real[i].distinct, access->real[i].distinct);
    EXPECT_EQ(mine->logical[i].raw, access->logical[i].raw) << "logical index " << i;
    EXPECT_EQ(mine->logical[i].name, access->logical[i].name);
  }
  EXPECT_EQ(mine->logical[0].name, u"B");
  // Both leaves hold two distinct keys, as Access counted.
  EXPECT_EQ(access->real[1].distinct, 2u);
}

// --- Keys -------------------------------------------------------------------------------------

TEST(WriterIndexKeyTest, KeysSortLikeTheirValues) {
  const int32_t numbers[] = {INT_MIN, -70000, -1, 0, 1, 2, 255, 256, 65536, INT_MAX};
  for (size_t i = 0; i + 1 < std::size(numbers); ++i) {
    EXPECT_LT(KeyOf(ColumnType::kInt32, numbers[i]), KeyOf(ColumnType::kInt32, numbers[i + 1]))
        << numbers[i];
  }
  EXPECT_EQ(KeyOf(ColumnType::kInt32, int32_t{2}),
            (std::vector<uint8_t>{0x7F, 0x80, 0x00, 0x00, 0x02}));
  EXPECT_EQ(KeyOf(ColumnType::kInt32, CellValue{}), std::vector<uint8_t>{0x00});
  EXPECT_EQ(KeyOf(ColumnType::kText, CellValue{}), std::vector<uint8_t>{0x00});

  // Texts sort as strings, without case, digits before letters; a prefix first.
  const std::u16string sorted[] = {u"0",   u"00", u"01", u"1",  u"10", u"18",     u"2",
                                   u"441", u"9",  u"a",  u"A0", u"ab", u"Table1", u"z"};
  for (size_t i = 0; i + 1 < std::size(sorted); ++i) {
    EXPECT_LT(KeyOf(ColumnType::kText, sorted[i]), KeyOf(ColumnType::kText, sorted[i + 1]))
        << wi::Utf16ToUtf8(sorted[i]);
  }
  EXPECT_EQ(KeyOf(ColumnType::kText, std::u16string(u"NumberId")),
            KeyOf(ColumnType::kText, std::u16string(u"NUMBERID")));
  EXPECT_LT(KeyOf(ColumnType::kText, CellValue{}), KeyOf(ColumnType::kText, std::u16string(u"0")));
}

TEST(WriterIndexKeyTest, RefusesWhatItCannotPlaceInTheSortOrder) {
  for (const char16_t* text : {u"", u" ", u"a b", u"1-2", u"é", u"驾", u"Z\x7F", u"x\U0001F697"}) {
    std::vector<uint8_t> key;
    auto r = wi::AppendIndexKey(ColumnType::kText, std::u16string(text), &key);
    ASSERT_FALSE(r) << wi::Utf16ToUtf8(text);
    EXPECT_EQ(r.error().code, ErrorCode::kUnsupported);
  }
  std::vector<uint8_t> key;
  auto r = wi::AppendIndexKey(ColumnType::kDouble, 1.5, &key);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().code, ErrorCode::kUnsupported);
}

// --- Whole files ------------------------------------------------------------------------------

// Shaped like the question bank's category table, with more kinds of index around it.
WriterTable Categories() {
  WriterTable t;
  t.name = "config";
  t.columns = {{"NUMBERID", ColumnType::kText, 6}, {"TESTNAME", ColumnType::kText, 70},
               {"TESTNUM", ColumnType::kText, 5},  {"RANK", ColumnType::kInt32},
               {"NOTE", ColumnType::kMemo},        {"C1", ColumnType::kDouble}};
  const char16_t* nums[] = {u"441", u"0", u"87", u"120", u"0", u"3", u"1000", u"99"};
  for (int i = 0; i < 18; ++i) {
    const int code = (i * 7) % 18 + 1;  // 01..18, not in order
    std::u16string id = code < 10 ? u"0" : u"";
    for (char c : std::to_string(code)) id.push_back(static_cast<char16_t>(c));
    t.rows.push_back({id, std::u16string(u"第") + id + u"章", std::u16string(nums[i % 8]),
                      i % 5 == 2 ? CellValue{} : CellValue{int32_t{(i % 6) * 1000 - 2500}},
                      i % 4 == 0 ? CellValue{std::u16string(200, u'说')} : CellValue{}, i * 0.5});
  }
  t.indexes = {{"TESTNUM", {"TESTNUM"}},
               {"NUMBERID", {"numberid"}},
               {"ByRank", {"RANK", "TESTNUM"}},
               {"PK", {"NUMBERID"}, false, true}};
  return t;
}

struct Written {
  std::vector<uint8_t> bytes;
  std::unique_ptr<jet::Database> db;
  jet::TableDef def;
  index_pages::TableIndexes indexes;
};

Written WriteAndOpen(const std::vector<WriterTable>& tables, const std::u16string& table) {
  Written w;
  auto bytes = jet::WriteDatabase(tables, {});
  EXPECT_TRUE(bytes) << bytes.error().message;
  if (!bytes) return w;
  w.bytes = std::move(*bytes);
  w.db = OpenBytes(w.bytes);
  if (!w.db) return w;
  auto def = w.db->ReadTable(table);
  EXPECT_TRUE(def);
  if (!def) return w;
  w.def = *def;
  auto indexes = index_pages::ReadTableIndexes(w.bytes, def->tdef_page);
  EXPECT_TRUE(indexes);
  if (indexes) w.indexes = *indexes;
  return w;
}

TEST(WriterIndexFileTest, EveryEntryPointsAtItsRowInKeyOrder) {
  const WriterTable table = Categories();
  Written w = WriteAndOpen({table}, u"config");
  ASSERT_TRUE(w.db);
  ASSERT_EQ(w.indexes.real_count, 4u);
  ASSERT_EQ(w.indexes.logical_count, 4u);

  // Logical indexes in name order, each naming its own real index by the order given.
  std::vector<std::u16string> names;
  for (const auto& l : w.indexes.logical) {
    names.push_back(l.name);
    EXPECT_EQ(l.real, l.number);
    EXPECT_EQ(l.kind, l.name == u"PK" ? 1 : 0);
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"ByRank", u"NUMBERID", u"PK", u"TESTNUM"}));
  const std::u16string by_number[] = {u"TESTNUM", u"NUMBERID", u"ByRank", u"PK"};
  for (const auto& l : w.indexes.logical) EXPECT_EQ(l.name, by_number[l.number]);
  EXPECT_EQ(w.indexes.real[0].columns, std::vector<uint16_t>{2});
  EXPECT_EQ(w.indexes.real[1].columns, std::vector<uint16_t>{0});
  EXPECT_EQ(w.indexes.real[2].columns, (std::vector<uint16_t>{3, 2}));
  EXPECT_EQ(w.indexes.real[0].flags, 0x80);
  EXPECT_EQ(w.indexes.real[3].flags, 0x89);

  // The rows as the reader finds them, by place.
  std::map<std::pair<uint32_t, uint8_t>, jet::Row> rows;
  std::set<uint32_t> data_pages;
  ASSERT_TRUE(w.db->ScanRows(w.def, [&](const jet::Row& row) {
    rows[{row.id.page, static_cast<uint8_t>(row.id.row)}] = row;
    data_pages.insert(row.id.page);
    return true;
  }));
  ASSERT_EQ(rows.size(), table.rows.size());

  std::set<uint32_t> leaves;
  for (size_t i = 0; i < w.indexes.real.size(); ++i) {
    const auto& real = w.indexes.real[i];
    SCOPED_TRACE("index " + std::to_string(i));
    EXPECT_EQ(index_pages::InlineMapPages(w.bytes, real.map), std::vector<uint32_t>{real.root});
    EXPECT_EQ(data_pages.count(real.root), 0u);
    leaves.insert(real.root);
    auto leaf = index_pages::ReadLeaf(w.bytes.data() + size_t{real.root} * kPage);
    ASSERT_TRUE(leaf);
    EXPECT_EQ(leaf->owner, w.def.tdef_page);
    ASSERT_EQ(leaf->entries.size(), table.rows.size());
    std::set<std::pair<uint32_t, uint8_t>> pointed;
    std::set<std::vector<uint8_t>> distinct;
    for (size_t e = 0; e < leaf->entries.size(); ++e) {
      const auto& entry = leaf->entries[e];
      if (e > 0) {
        const auto& before = leaf->entries[e - 1];
        EXPECT_TRUE(before.key < entry.key ||
                    (before.key == entry.key &&
                     std::pair(before.page, before.row) < std::pair(entry.page, entry.row)));
      }
      auto row = rows.find({entry.page, entry.row});
      ASSERT_NE(row, rows.end());
      pointed.insert(row->first);
      distinct.insert(entry.key);
      // The key is that of the row's values as the reader decodes them.
      std::vector<uint8_t> expected;
      for (uint16_t number : real.columns) {
        auto value = w.db->ReadValue(w.def, row->second, number);
        ASSERT_TRUE(value);
        ASSERT_TRUE(wi::AppendIndexKey(w.def.columns[number].type, *AsCell(*value), &expected));
      }
      EXPECT_EQ(entry.key, expected);
    }
    EXPECT_EQ(pointed.size(), rows.size());
    EXPECT_EQ(real.distinct, distinct.size());
  }
  EXPECT_EQ(leaves.size(), 4u);
  EXPECT_EQ(w.indexes.real[0].distinct, 7u);  // "441", "0", "87", "120", "3", "1000", "99"
  EXPECT_EQ(w.indexes.real[1].distinct, 18u);

  // NUMBERID's leaf lists "01".."18" in order.
  auto leaf = index_pages::ReadLeaf(w.bytes.data() + size_t{w.indexes.real[1].root} * kPage);
  ASSERT_TRUE(leaf);
  for (size_t e = 0; e < leaf->entries.size(); ++e) {
    auto value = w.db->ReadValue(w.def, rows[{leaf->entries[e].page, leaf->entries[e].row}], 0);
    ASSERT_TRUE(value);
    const std::string want = (e < 9 ? "0" : "") + std::to_string(e + 1);
    EXPECT_EQ(std::get<std::u16string>(*value), std::u16string(want.begin(), want.end()));
  }
}

TEST(WriterIndexFileTest, ReaderStillReadsEveryValueAndOutputIsDeterministic) {
  const WriterTable table = Categories();
  WriterTable plain = Categories();
  plain.name = "plain";
  plain.indexes.clear();
  Written w = WriteAndOpen({table, plain}, u"config");
  ASSERT_TRUE(w.db);
  auto again = jet::WriteDatabase({table, plain}, {});
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, w.bytes);
  for (const std::u16string& name : {std::u16string(u"config"), std::u16string(u"plain")}) {
    auto def = w.db->ReadTable(name);
    ASSERT_TRUE(def);
    EXPECT_EQ(def->row_count, table.rows.size());
    size_t r = 0;
    ASSERT_TRUE(w.db->ScanRows(*def, [&](const jet::Row& row) {
      for (size_t c = 0; c < table.columns.size(); ++c) {
        auto value = w.db->ReadValue(*def, row, static_cast<int>(c));
        EXPECT_TRUE(value);
        if (!value) return false;
        const CellValue& want = table.rows[r][c];
        if (const auto* d = std::get_if<double>(&want)) {
          EXPECT_EQ(std::get<double>(*value), *d);
        } else {
          EXPECT_EQ(AsCell(*value), want) << "row " << r << " column " << c;
        }
      }
      ++r;
      return true;
    }));
    EXPECT_EQ(r, table.rows.size());
    EXPECT_TRUE(w.db->CheckTable(*def));
  }
  // Leaves are pages of type 4; the table without indexes has none.
  size_t leaves = 0;
  for (size_t n = 0; n < w.bytes.size() / kPage; ++n) leaves += w.bytes[n * kPage] == 0x04;
  EXPECT_EQ(leaves, table.indexes.size());
  auto plain_indexes = index_pages::ReadTableIndexes(w.bytes, w.db->ReadTable(u"plain")->tdef_page);
  ASSERT_TRUE(plain_indexes);
  EXPECT_EQ(plain_indexes->real_count, 0u);
  EXPECT_EQ(plain_indexes->logical_count, 0u);
}

TEST(WriterIndexFileTest, EmptyTableGetsAnEmptyLeaf) {
  WriterTable t = Categories();
  t.rows.clear();
  Written w = WriteAndOpen({t}, u"config");
  ASSERT_TRUE(w.db);
  for (const auto& real : w.indexes.real) {
    auto leaf = index_pages::ReadLeaf(w.bytes.data() + size_t{real.root} * kPage);
    ASSERT_TRUE(leaf);
    EXPECT_TRUE(leaf->entries.empty());
    EXPECT_EQ(leaf->end, 480u);
    EXPECT_EQ(real.distinct, 0u);
  }
}

// --- Input checks -----------------------------------------------------------------------------

ErrorCode WriteError(const WriterTable& table) {
  auto r = jet::WriteDatabase({table}, {});
  EXPECT_FALSE(r) << "accepted";
  return r ? ErrorCode::kIo : r.error().code;
}

WriterTable WithIndexes(std::vector<WriterIndex> indexes) {
  WriterTable t = Categories();
  t.indexes = std::move(indexes);
  return t;
}

TEST(WriterIndexInputTest, RefusesBadIndexDefinitions) {
  EXPECT_EQ(WriteError(WithIndexes({{"x", {"NOPE"}}})), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(WithIndexes({{"x", {"RANK", "rank"}}})), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(WithIndexes({{"x", {}}})), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(WithIndexes({{"a.b", {"RANK"}}})), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(WithIndexes({{"x", {"RANK"}}, {"X", {"TESTNUM"}}})), ErrorCode::kInvalid);
  EXPECT_EQ(
      WriteError(WithIndexes({{"p", {"NUMBERID"}, false, true}, {"q", {"TESTNAME"}, false, true}})),
      ErrorCode::kInvalid);
  std::vector<WriterIndex> many;
  for (int i = 0; i < 33; ++i) many.push_back({"i" + std::to_string(i), {"RANK"}});
  EXPECT_EQ(WriteError(WithIndexes(many)), ErrorCode::kInvalid);
  many.resize(32);
  EXPECT_TRUE(jet::WriteDatabase({WithIndexes(many)}, {}));

  WriterTable wide;
  wide.name = "wide";
  std::vector<std::string> eleven;
  for (int i = 0; i < 11; ++i) {
    wide.columns.push_back({"c" + std::to_string(i), ColumnType::kInt32});
    eleven.push_back("c" + std::to_string(i));
  }
  wide.indexes = {{"all", eleven}};
  EXPECT_EQ(WriteError(wide), ErrorCode::kInvalid);
  wide.indexes[0].columns.pop_back();
  EXPECT_TRUE(jet::WriteDatabase({wide}, {}));

  // Types and characters the writer has no sort bytes for.
  EXPECT_EQ(WriteError(WithIndexes({{"x", {"C1"}}})), ErrorCode::kUnsupported);
  EXPECT_EQ(WriteError(WithIndexes({{"x", {"NOTE"}}})), ErrorCode::kUnsupported);
  EXPECT_EQ(WriteError(WithIndexes({{"x", {"TESTNAME"}}})), ErrorCode::kUnsupported);  // 第..章
  WriterTable empty_text = Categories();
  empty_text.rows[3][2] = std::u16string();
  EXPECT_EQ(WriteError(empty_text), ErrorCode::kUnsupported);
  // The message names the place.
  auto r = jet::WriteDatabase({WithIndexes({{"ByName", {"TESTNAME"}}})}, {});
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().message.find("table config, index ByName, row 0, column TESTNAME"),
            std::string::npos)
      << r.error().message;
}

TEST(WriterIndexInputTest, KeepsUniqueIndexesAndPrimaryKeysSound) {
  WriterTable dup = Categories();
  dup.rows[5][0] = std::u16string(u"07");
  dup.rows[6][0] = std::u16string(u"07");
  EXPECT_EQ(WriteError(dup), ErrorCode::kInvalid);  // PK on NUMBERID
  dup.indexes.pop_back();
  EXPECT_TRUE(jet::WriteDatabase({dup}, {}));  // the other indexes take duplicates

  WriterTable cased;
  cased.name = "cased";
  cased.columns = {{"code", ColumnType::kText, 10}, {"n", ColumnType::kInt32}};
  cased.rows = {{std::u16string(u"ab"), int32_t{1}},
                {std::u16string(u"AB"), CellValue{}},
                {std::u16string(u"c"), CellValue{}}};
  cased.indexes = {{"code", {"code"}, true}};
  EXPECT_EQ(WriteError(cased), ErrorCode::kInvalid);  // General order ignores case
  // Nulls do not clash in a unique index, but a primary key holds none.
  cased.indexes = {{"n", {"n"}, true}};
  EXPECT_TRUE(jet::WriteDatabase({cased}, {}));
  cased.indexes = {{"n", {"n"}, false, true}};
  EXPECT_EQ(WriteError(cased), ErrorCode::kInvalid);
}

TEST(WriterIndexInputTest, RefusesAnIndexLargerThanOneLeaf) {
  // A Long Integer entry takes 9 bytes: 401 fit the 3,616 bytes of a leaf, 402 do not.
  WriterTable t;
  t.name = "t";
  t.columns = {{"n", ColumnType::kInt32}};
  t.indexes = {{"n", {"n"}}};
  for (int i = 0; i < 401; ++i) t.rows.push_back({int32_t{400 - i}});
  auto fits = jet::WriteDatabase({t}, {});
  ASSERT_TRUE(fits) << fits.error().message;
  t.rows.push_back({int32_t{-5}});
  EXPECT_EQ(WriteError(t), ErrorCode::kUnsupported);

  t.rows.pop_back();
  Written w = WriteAndOpen({t}, u"t");
  ASSERT_TRUE(w.db);
  auto leaf = index_pages::ReadLeaf(w.bytes.data() + size_t{w.indexes.real[0].root} * kPage);
  ASSERT_TRUE(leaf);
  EXPECT_EQ(leaf->entries.size(), 401u);
  EXPECT_EQ(leaf->end, 480u + 401 * 9);
}

}  // namespace
