// The engine on the real sample files: opening and passwords, refusals, damaged files, and the
// in-place update of fixed-width cells.
#include <gtest/gtest.h>

#include <filesystem>

#include "jet/database.h"
#include "jet/writer.h"
#include "support/process.h"

namespace {

using base::ErrorCode;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::string Sample(const std::string& name) {
  return std::string(EXAMORA_SAMPLES_DIR) + "/" + name;
}

std::unique_ptr<jet::Database> OpenBytes(std::vector<uint8_t> bytes, std::u16string pw = {}) {
  auto db = jet::Database::Open(std::make_unique<jet::MemFile>(std::move(bytes)), pw);
  return db ? std::move(*db) : nullptr;
}

TEST(JetOpen, PasswordMustMatchExactly) {
  auto right =
      jet::Database::Open(Sample("passwordV2000.mdb"), jet::OpenMode::kReadOnly, u"password");
  ASSERT_TRUE(right) << right.error().message;
  for (std::u16string wrong : {u"", u"Password", u"passwor", u"password "}) {
    auto db = jet::Database::Open(Sample("passwordV2000.mdb"), jet::OpenMode::kReadOnly, wrong);
    ASSERT_FALSE(db);
    EXPECT_EQ(db.error().code, ErrorCode::kBadPassword);
  }
}

TEST(JetOpen, FileWithoutPasswordAcceptsAny) {
  for (std::u16string pw : {u"", u"anything"}) {
    auto db = jet::Database::Open(Sample("noPasswordV2000.mdb"), jet::OpenMode::kReadOnly, pw);
    EXPECT_TRUE(db);
  }
}

TEST(JetOpen, ListsUserTablesBeforeSystemTables) {
  auto db = jet::Database::Open(Sample("testV2000.mdb"), jet::OpenMode::kReadOnly);
  ASSERT_TRUE(db);
  std::vector<std::u16string> user;
  bool seen_system = false;
  for (const auto& t : (*db)->tables()) {
    if (t.system)
      seen_system = true;
    else {
      EXPECT_FALSE(seen_system) << "user table after a system table";
      user.push_back(t.name);
    }
  }
  EXPECT_EQ(user, (std::vector<std::u16string>{u"Table1", u"Table2", u"Table3", u"Table4"}));
  EXPECT_TRUE(seen_system);
  EXPECT_TRUE((*db)->ReadTable(u"table1")) << "names are case-insensitive";
  auto missing = (*db)->ReadTable(u"Table9");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().code, ErrorCode::kNotFound);
}

TEST(JetOpen, RefusesOtherVersionsAndForeignFiles) {
  auto bytes = ReadBytes(Sample("testV2000.mdb"));
  auto jet3 = bytes;
  jet3[0x14] = 0;
  auto db3 = jet::Database::Open(std::make_unique<jet::MemFile>(jet3));
  ASSERT_FALSE(db3);
  EXPECT_EQ(db3.error().code, ErrorCode::kUnsupported);
  EXPECT_NE(db3.error().message.find("Jet 3"), std::string::npos);

  auto accdb = bytes;
  accdb[0x14] = 2;
  auto db5 = jet::Database::Open(std::make_unique<jet::MemFile>(accdb));
  ASSERT_FALSE(db5);
  EXPECT_EQ(db5.error().code, ErrorCode::kUnsupported);

  std::vector<uint8_t> text(8192, 'x');
  auto foreign = jet::Database::Open(std::make_unique<jet::MemFile>(text));
  ASSERT_FALSE(foreign);
  EXPECT_EQ(foreign.error().code, ErrorCode::kCorrupt);

  auto empty = jet::Database::Open(std::make_unique<jet::MemFile>(std::vector<uint8_t>{}));
  EXPECT_FALSE(empty);
  auto cut = bytes;
  cut.resize(8 * jet::kPageSize);
  // A file cut after its catalog page still opens only if everything the catalog names exists.
  auto truncated = jet::Database::Open(std::make_unique<jet::MemFile>(cut));
  if (truncated) {
    for (const auto& t : (*truncated)->tables()) {
      auto def = (*truncated)->ReadTable(t.name);
      if (def) (void)(*truncated)->ScanRows(*def, [](const jet::Row&) { return true; });
    }
  }
}

TEST(JetOpen, MissingFileAndDirectoryAreErrors) {
  TempDir dir;
  auto missing = jet::Database::Open((dir / "none.mdb").string(), jet::OpenMode::kReadOnly);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().code, ErrorCode::kNotFound);
  auto directory = jet::Database::Open(dir.path().string(), jet::OpenMode::kReadOnly);
  EXPECT_FALSE(directory);
}

// Reads every cell of every table; returns false on the first error.
bool ReadEverything(jet::Database& db) {
  bool ok = true;
  for (const auto& t : db.tables()) {
    auto def = db.ReadTable(t.name);
    if (!def) return false;
    auto scan = db.ScanRows(*def, [&](const jet::Row& row) {
      for (size_t c = 0; c < def->columns.size(); ++c) {
        if (!db.ReadValue(*def, row, static_cast<int>(c))) ok = false;
      }
      return true;
    });
    if (!scan) return false;
  }
  return ok;
}

TEST(JetDamage, FlippedBytesNeverCrash) {
  // Damage each sample in many places; every outcome is a value or an error, never a crash
  // (the sanitizer build turns any out-of-bounds read into a failure).
  for (const char* file : {"testV2000.mdb", "test2V2000.mdb", "overflowTestV2000.mdb"}) {
    const auto original = ReadBytes(Sample(file));
    uint32_t seed = 12345;
    for (int round = 0; round < 300; ++round) {
      auto bytes = original;
      for (int k = 0; k < 8; ++k) {
        seed = seed * 1103515245u + 12345u;
        // Hit the header page rarely; structure pages (tdefs, maps, rows) often.
        size_t at = (seed >> 4) % bytes.size();
        if (at < jet::kPageSize) at += jet::kPageSize;
        bytes[at % bytes.size()] ^= static_cast<uint8_t>(1u << ((seed >> 1) % 8));
      }
      if (auto db = OpenBytes(bytes)) (void)ReadEverything(*db);
    }
  }
}

struct Copy {
  TempDir dir;
  std::string path;
  explicit Copy(const std::string& sample) : path((dir / sample).string()) {
    std::filesystem::copy_file(Sample(sample), path);
  }
};

// The first row of `table` and the index of `column`.
struct Cell {
  jet::TableDef def;
  jet::Row row;
  int column;
};

Cell FirstRow(jet::Database& db, const std::u16string& table, const std::u16string& column) {
  Cell cell{*db.ReadTable(table), {}, -1};
  cell.column = cell.def.FindColumn(column);
  (void)db.ScanRows(cell.def, [&](const jet::Row& r) {
    cell.row = r;
    return false;
  });
  return cell;
}

TEST(JetUpdate, ChangesOnlyTheFieldAndPersists) {
  Copy copy("testV2000.mdb");
  const auto before = ReadBytes(copy.path);
  {
    auto db = jet::Database::Open(copy.path, jet::OpenMode::kReadWrite);
    ASSERT_TRUE(db);
    Cell cell = FirstRow(**db, u"Table1", u"D");
    ASSERT_GE(cell.column, 0);
    jet::FixedUpdate u{cell.row.id, cell.column, int16_t{-1234}};
    ASSERT_TRUE((*db)->UpdateFixed(cell.def, {&u, 1}));
    auto again = FirstRow(**db, u"Table1", u"D");
    EXPECT_EQ(std::get<int16_t>(*(*db)->ReadValue(again.def, again.row, again.column)), -1234);
  }
  const auto after = ReadBytes(copy.path);
  ASSERT_EQ(before.size(), after.size());
  size_t changed = 0;
  for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
  EXPECT_GE(changed, 1u);
  EXPECT_LE(changed, 2u);
  auto reopened = jet::Database::Open(copy.path, jet::OpenMode::kReadOnly);
  ASSERT_TRUE(reopened);
  auto cell = FirstRow(**reopened, u"Table1", u"D");
  EXPECT_EQ(std::get<int16_t>(*(*reopened)->ReadValue(cell.def, cell.row, cell.column)), -1234);
}

TEST(JetUpdate, NullBecomesValueAndBack) {
  jet::WriterTable t;
  t.name = "t";
  t.columns = {{"name", jet::ColumnType::kText, 20},
               {"n", jet::ColumnType::kInt32},
               {"flag", jet::ColumnType::kBoolean}};
  for (int i = 0; i < 50; ++i) {
    t.rows.push_back({std::u16string(u"row"), i % 2 ? jet::CellValue{int32_t{i}} : jet::CellValue{},
                      i % 3 == 0});
  }
  auto bytes = jet::WriteDatabase({t}, {});
  ASSERT_TRUE(bytes) << bytes.error().message;
  auto* file = new jet::MemFile(*bytes);
  auto db = jet::Database::Open(std::unique_ptr<jet::File>(file));
  ASSERT_TRUE(db);
  auto def = *(*db)->ReadTable(u"t");
  std::vector<jet::Row> rows;
  ASSERT_TRUE((*db)->ScanRows(def, [&](const jet::Row& r) {
    rows.push_back(r);
    return true;
  }));
  ASSERT_EQ(rows.size(), 50u);
  std::vector<jet::FixedUpdate> batch = {{rows[0].id, 1, int32_t{77}},
                                         {rows[1].id, 1, std::monostate{}},
                                         {rows[2].id, 2, true},
                                         {rows[3].id, 2, false}};
  const std::string before = file->bytes();
  ASSERT_TRUE((*db)->UpdateFixed(def, batch));
  size_t changed = 0;
  for (size_t i = 0; i < before.size(); ++i) changed += before[i] != file->bytes()[i];
  EXPECT_LE(changed, 4u + 3u) << "value bytes and null-mask bytes only";
  std::vector<jet::Value> got;
  ASSERT_TRUE((*db)->ScanRows(def, [&](const jet::Row& r) {
    if (got.size() < 4) got.push_back(*(*db)->ReadValue(def, r, got.size() < 2 ? 1 : 2));
    return got.size() < 4;
  }));
  EXPECT_EQ(std::get<int32_t>(got[0]), 77);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(got[1]));
  EXPECT_EQ(std::get<bool>(got[2]), true);
  EXPECT_EQ(std::get<bool>(got[3]), false);
}

// A damaged definition must not turn an update of a cell into a change of the row's structure:
// a null-mask bit shared with another column, or a fixed field reaching into the variable
// values, is refused and nothing is written.
TEST(JetUpdate, ADamagedDefinitionCannotChangeARowsStructure) {
  jet::WriterTable t;
  t.name = "t";
  t.columns = {{"name", jet::ColumnType::kText, 20},
               {"n", jet::ColumnType::kInt32},
               {"flag", jet::ColumnType::kBoolean}};
  for (int i = 0; i < 5; ++i) t.rows.push_back({std::u16string(u"some text"), int32_t{i}, false});
  auto bytes = jet::WriteDatabase({t}, {});
  ASSERT_TRUE(bytes) << bytes.error().message;
  auto* file = new jet::MemFile(*bytes);
  auto db = jet::Database::Open(std::unique_ptr<jet::File>(file));
  ASSERT_TRUE(db);
  const jet::TableDef def = *(*db)->ReadTable(u"t");
  std::vector<jet::RowId> rows;
  ASSERT_TRUE((*db)->ScanRows(def, [&](const jet::Row& r) {
    rows.push_back(r.id);
    return true;
  }));
  ASSERT_EQ(def.columns[1].name, u"n");
  const std::string before = file->bytes();

  jet::TableDef shared = def;
  shared.columns[1].number = def.columns[0].number;
  const std::vector<jet::FixedUpdate> set_n = {{rows[0], 1, int32_t{77}}};
  auto refused = (*db)->UpdateFixed(shared, set_n);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().code, base::ErrorCode::kCorrupt);

  jet::TableDef reaching = def;
  reaching.columns[1].fixed_offset = 4;  // past n's four bytes, into the text
  refused = (*db)->UpdateFixed(reaching, set_n);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().code, base::ErrorCode::kCorrupt);
  EXPECT_EQ(file->bytes(), before);

  EXPECT_TRUE((*db)->UpdateFixed(def, set_n)) << "the sound definition still updates";
}

TEST(JetUpdate, RefusesWrongTypesWithoutWritingAnything) {
  Copy copy("testV2000.mdb");
  const auto before = ReadBytes(copy.path);
  auto db = jet::Database::Open(copy.path, jet::OpenMode::kReadWrite);
  ASSERT_TRUE(db);
  Cell d = FirstRow(**db, u"Table1", u"D");
  Cell a = FirstRow(**db, u"Table1", u"A");
  std::vector<jet::FixedUpdate> batch = {
      {d.row.id, d.column, int16_t{5}},  // fine on its own
      {d.row.id, d.column, int32_t{5}},  // wrong type: the whole batch is refused
  };
  auto r = (*db)->UpdateFixed(d.def, batch);
  ASSERT_FALSE(r);
  EXPECT_EQ(r.error().code, ErrorCode::kInvalid);
  jet::FixedUpdate text{a.row.id, a.column, int16_t{1}};
  EXPECT_FALSE((*db)->UpdateFixed(a.def, {&text, 1}));
  jet::FixedUpdate stray{{9999, 0}, d.column, int16_t{1}};
  EXPECT_FALSE((*db)->UpdateFixed(d.def, {&stray, 1}));
  EXPECT_EQ(ReadBytes(copy.path), before);
}

TEST(JetUpdate, ReadOnlyDatabaseRefusesUpdates) {
  auto db = jet::Database::Open(Sample("testV2000.mdb"), jet::OpenMode::kReadOnly);
  ASSERT_TRUE(db);
  Cell d = FirstRow(**db, u"Table1", u"D");
  jet::FixedUpdate u{d.row.id, d.column, int16_t{5}};
  EXPECT_FALSE((*db)->UpdateFixed(d.def, {&u, 1}));
}

// More long values than the page cache holds (about 19 MB of 60 KB pictures against 16 MB):
// every one reads back whole, as a value and as bytes, also once the cache is full; a null
// reads as no bytes, and only binary columns read as bytes.
TEST(JetLongValues, ReadWholeWhenMoreThanTheCacheHolds) {
  constexpr int kRows = 320;
  constexpr size_t kSize = 60000;
  auto picture = [](int row) {
    std::vector<uint8_t> bytes(kSize);
    for (size_t i = 0; i < kSize; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + size_t(row) * 13);
    return bytes;
  };
  jet::WriterTable t;
  t.name = "t";
  t.columns = {{"name", jet::ColumnType::kText, 20}, {"pic", jet::ColumnType::kLongBinary}};
  for (int row = 0; row < kRows; ++row) {
    t.rows.push_back(
        {std::u16string(u"row"), row == 5 ? jet::CellValue{} : jet::CellValue{picture(row)}});
  }
  auto bytes = jet::WriteDatabase({t}, {});
  ASSERT_TRUE(bytes) << bytes.error().message;
  ASSERT_GT(bytes->size(), size_t{18} << 20) << "more than the 16 MiB the cache holds";
  auto db = OpenBytes(std::move(*bytes));
  ASSERT_TRUE(db);
  auto def = *db->ReadTable(u"t");
  for (int pass = 0; pass < 2; ++pass) {
    int row = 0;
    std::string out;
    ASSERT_TRUE(db->ScanRows(def, [&](const jet::Row& r) {
      const jet::RowView view{r.id, r.bytes};
      auto read = db->ReadBytes(def, view, 1, out);
      auto value = db->ReadValue(def, r, 1);
      EXPECT_TRUE(read && value) << "row " << row;
      if (!read || !value) return false;
      if (row == 5) {
        EXPECT_FALSE(*read);
        EXPECT_TRUE(out.empty());
        EXPECT_TRUE(std::holds_alternative<std::monostate>(*value));
      } else {
        const std::vector<uint8_t> expected = picture(row);
        EXPECT_TRUE(*read);
        EXPECT_TRUE(out.size() == kSize &&
                    std::equal(out.begin(), out.end(), expected.begin(),
                               [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; }))
            << "pass " << pass << ", row " << row;
        EXPECT_EQ(std::get<std::vector<uint8_t>>(*value), expected) << "row " << row;
      }
      ++row;
      return true;
    }));
    EXPECT_EQ(row, kRows);
  }
  jet::Row first;
  ASSERT_TRUE(db->ScanRows(def, [&](const jet::Row& r) {
    first = r;
    return false;
  }));
  std::string out;
  auto text = db->ReadBytes(def, {first.id, first.bytes}, 0, out);
  ASSERT_FALSE(text);
  EXPECT_EQ(text.error().code, ErrorCode::kInvalid);
}

TEST(JetText, DecodesPlainAndCompressedForms) {
  const uint8_t plain[] = {0x41, 0x00, 0x2D, 0x4E};
  EXPECT_EQ(jet::DecodeText(plain), u"A\u4E2D");
  const uint8_t compressed[] = {0xFF, 0xFE, 0x61, 0x62, 0x63, 0x00, 0x1C, 0x04, 0x38, 0x04};
  EXPECT_EQ(jet::DecodeText(compressed), u"abc\u041C\u0438");
  const uint8_t odd[] = {0x41, 0x00, 0x42};
  EXPECT_EQ(jet::DecodeText(odd), u"A");

  // The shortcut for ASCII texts takes the compressed form's bytes only when each of them is
  // an ASCII character: not across a switch to two-byte characters, not for Latin-1 letters,
  // not for the plain form.
  const uint8_t id[] = {0xFF, 0xFE, 0x30, 0x31, 0x30, 0x30, 0x30, 0x30, 0x37};
  EXPECT_EQ(jet::CompressedAscii(id), std::optional<std::string_view>("0100007"));
  const uint8_t empty[] = {0xFF, 0xFE};
  EXPECT_EQ(jet::CompressedAscii(empty), std::optional<std::string_view>(""));
  const uint8_t latin[] = {0xFF, 0xFE, 0x63, 0x61, 0x66, 0xE9};
  EXPECT_EQ(jet::CompressedAscii(latin), std::nullopt);
  EXPECT_EQ(jet::CompressedAscii(compressed), std::nullopt);
  const uint8_t plain_ascii[] = {0x41, 0x00, 0x42, 0x00};
  EXPECT_EQ(jet::CompressedAscii(plain_ascii), std::nullopt);
}

}  // namespace
