// Unit tests of the database writer: text encoding, page packing, usage maps, definitions, the
// header, input checks, and invariants of whole files that every reader relies on.
#include "jet/writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <type_traits>
#include <variant>

#include "base/rc4.h"
#include "jet/bytes.h"
#include "jet/database.h"
#include "jet/writer_internal.h"
#include "support/process.h"

namespace {

namespace wi = jet::writer_internal;
using base::ErrorCode;
using jet::CellValue;
using jet::ColumnType;
using jet::WriterColumn;
using jet::WriterTable;

constexpr size_t kPage = wi::kPageSize;

// Decodes a stored text the way the format describes it (FF FE marker, 0x00 switches modes).
std::u16string DecodeText(const std::vector<uint8_t>& b) {
  std::u16string out;
  if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    bool one_byte = true;
    for (size_t i = 2; i < b.size();) {
      if (b[i] == 0) {
        one_byte = !one_byte;
        ++i;
      } else if (one_byte) {
        out.push_back(b[i++]);
      } else if (i + 1 < b.size()) {
        out.push_back(static_cast<char16_t>(b[i] | b[i + 1] << 8));
        i += 2;
      } else {
        break;
      }
    }
    return out;
  }
  for (size_t i = 0; i + 1 < b.size(); i += 2)
    out.push_back(static_cast<char16_t>(b[i] | b[i + 1] << 8));
  return out;
}

TEST(WriterTextTest, CompressesLatinTextOfThreeOrMoreCharacters) {
  EXPECT_EQ(wi::EncodeText(u"abc", true).value(),
            (std::vector<uint8_t>{0xFF, 0xFE, 'a', 'b', 'c'}));
  // One or two characters gain nothing from the marker and stay plain, as Access leaves them.
  EXPECT_EQ(wi::EncodeText(u"ab", true).value(), (std::vector<uint8_t>{'a', 0, 'b', 0}));
  EXPECT_EQ(wi::EncodeText(u"abc", false).value().size(), 6u);
}

TEST(WriterTextTest, SwitchesModesAroundOtherCharactersOnlyWhenShorter) {
  EXPECT_EQ(wi::EncodeText(u"abcdМир", true).value(),
            (std::vector<uint8_t>{0xFF, 0xFE, 'a', 'b', 'c', 'd', 0, 0x1C, 0x04, 0x38, 0x04, 0x40,
                                  0x04}));
  // The same with three Latin letters is no shorter than plain, so it stays plain.
  EXPECT_EQ(wi::EncodeText(u"abcМир", true).value().size(), 12u);
  EXPECT_NE(wi::EncodeText(u"abcМир", true).value()[0], 0xFF);
  // A short Latin run inside other text is not worth two switches; a long one is.
  EXPECT_EQ(wi::EncodeText(u"ЖabЖЖЖЖЖ", true).value().size(), 16u);
  const std::vector<uint8_t> mixed = wi::EncodeText(u"ЖabcdefgЖЖЖЖЖ", true).value();
  EXPECT_EQ(mixed.size(), 2u + 1 + 2 + 1 + 7 + 1 + 10);
  EXPECT_EQ(DecodeText(mixed), u"ЖabcdefgЖЖЖЖЖ");
  // A character whose low byte is zero would read as a switch: the whole text stays plain.
  EXPECT_EQ(wi::EncodeText(u"abc一", true).value().size(), 8u);
  EXPECT_EQ(wi::EncodeText(u"abcĀ", true).value().size(), 8u);
}

TEST(WriterTextTest, EveryEncodingDecodesToItsText) {
  const std::u16string samples[] = {u"",
                                    u"x",
                                    u"驾驶证",
                                    u"1. 机动车驾驶人 abc 12 题目",
                                    u"a驾bc驶def",
                                    u"ÄÖÜ äöü ß",
                                    u"\x00ff\x0001",
                                    std::u16string(300, u'q'),
                                    u"驾驶 ab 驶",
                                    u"\xFEFF"
                                    u"abc",
                                    u"ab\x0000cd",
                                    u"end in 驾 xy"};
  for (const auto& s : samples) {
    for (bool compress : {false, true}) {
      auto encoded = wi::EncodeText(s, compress);
      ASSERT_TRUE(encoded) << encoded.error().message;
      EXPECT_EQ(DecodeText(*encoded), s);
      EXPECT_LE(encoded->size(), s.size() * 2 + (s.empty() || s[0] != 0xFEFF ? 0 : 4));
    }
  }
}

TEST(WriterTextTest, TextStartingWithByteOrderMarkIsNeverPlain) {
  auto encoded = wi::EncodeText(
      u"\xFEFF"
      u"x",
      false);
  ASSERT_TRUE(encoded);
  EXPECT_EQ((*encoded)[0], 0xFF);
  EXPECT_EQ((*encoded)[1], 0xFE);
  EXPECT_EQ(DecodeText(*encoded),
            u"\xFEFF"
            u"x");
  auto impossible = wi::EncodeText(
      u"\xFEFF"
      u"一",
      true);
  ASSERT_FALSE(impossible);
  EXPECT_EQ(impossible.error().code, ErrorCode::kInvalid);
}

TEST(WriterTextTest, Utf8ConversionAcceptsAllPlanesAndRejectsMalformedInput) {
  EXPECT_EQ(wi::Utf8ToUtf16("a\xC3\xA9\xE9\xA9\xBE\xF0\x9F\x9A\x97", "t").value(),
            u"aé驾\U0001F697");
  for (const char* bad :
       {"\xC0\xAF", "\xE9\xA9", "\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xE9"}) {
    auto r = wi::Utf8ToUtf16(bad, "name");
    EXPECT_FALSE(r) << bad;
  }
  EXPECT_EQ(wi::Utf16ToUtf8(u"驾\U0001F697"), "\xE9\xA9\xBE\xF0\x9F\x9A\x97");
}

// --- Data pages -----------------------------------------------------------------------------

struct PageView {
  const uint8_t* p;
  uint16_t free() const { return jet::LoadU16(p + 2); }
  uint16_t rows() const { return jet::LoadU16(p + 12); }
  uint16_t offset(size_t i) const { return jet::LoadU16(p + 14 + 2 * i); }
};

TEST(WriterPageTest, RowsPackFromPageEndWithoutGapsAndFreeSpaceFollowsTheFormula) {
  wi::PageStore store;
  store.Allocate();
  wi::RowPageWriter writer(&store, 77);
  std::vector<uint32_t> pointers;
  for (size_t size : {100u, 1u, 3000u, 975u, 50u}) {
    pointers.push_back(writer.Append(std::vector<uint8_t>(size, static_cast<uint8_t>(size))));
  }
  ASSERT_EQ(writer.pages(), (std::vector<uint32_t>{1, 2}));
  PageView first{store.Page(1)};
  EXPECT_EQ(first.rows(), 3);
  EXPECT_EQ(first.offset(0), kPage - 100);
  EXPECT_EQ(first.offset(1), kPage - 101);
  EXPECT_EQ(first.offset(2), kPage - 3101);
  EXPECT_EQ(first.free(), kPage - 14 - 2 * 3 - 3101);
  EXPECT_EQ(jet::LoadU32(store.Page(1) + 4), 77u);
  EXPECT_EQ(pointers[3], wi::MakeRowPointer(2, 0));
  EXPECT_EQ(pointers[4], wi::MakeRowPointer(2, 1));
  EXPECT_EQ(writer.Row(pointers[2]).size(), 3000u);
  EXPECT_EQ(writer.Row(pointers[2])[0], static_cast<uint8_t>(3000));
  // A page with nothing but 14 + 2 bytes of header and offset holds one row of 4080 bytes.
  wi::RowPageWriter big(&store, 1);
  big.Reserve(wi::kMaxPageRow);
  EXPECT_EQ(PageView{store.Page(big.pages().back())}.free(), 0);
}

TEST(WriterPageTest, NoPageHoldsMoreThan255Rows) {
  wi::PageStore store;
  wi::RowPageWriter writer(&store, 5);
  for (int i = 0; i < 600; ++i) writer.Reserve(2);
  ASSERT_EQ(writer.pages().size(), 3u);
  EXPECT_EQ(PageView{store.Page(writer.pages()[0])}.rows(), 255);
  EXPECT_EQ(PageView{store.Page(writer.pages()[2])}.rows(), 90);
  EXPECT_EQ(writer.PagesWithRoom(4), std::vector<uint32_t>{writer.pages()[2]});
}

// --- Usage maps -----------------------------------------------------------------------------

std::set<uint32_t> DecodeMap(const uint8_t* row, size_t size, const wi::PageStore& store) {
  std::set<uint32_t> pages;
  if (row[0] == 0) {
    const uint32_t start = jet::LoadU32(row + 1);
    for (size_t bit = 0; bit < (size - 5) * 8; ++bit) {
      if (row[5 + bit / 8] & (1 << (bit % 8))) pages.insert(start + static_cast<uint32_t>(bit));
    }
  } else {
    for (size_t slot = 0; slot < (size - 1) / 4; ++slot) {
      const uint32_t map_page = jet::LoadU32(row + 1 + 4 * slot);
      if (map_page == 0) continue;
      const uint8_t* p = store.Page(map_page);
      EXPECT_EQ(p[0], 0x05);
      for (size_t bit = 0; bit < (kPage - 4) * 8; ++bit) {
        if (p[4 + bit / 8] & (1 << (bit % 8))) {
          pages.insert(static_cast<uint32_t>(slot * wi::kReferenceMapPagesPerSlot + bit));
        }
      }
    }
  }
  return pages;
}

TEST(WriterUsageMapTest, NearbyPagesGetAnInlineMapAndDistantOnesBitmapPages) {
  wi::PageStore store;
  uint8_t row[wi::kUsageMapRowSize];
  const std::vector<uint32_t> near = {700, 701, 900, 1211};
  wi::EncodeUsageMap(near, &store, row);
  EXPECT_EQ(row[0], 0);
  EXPECT_EQ(store.count(), 0u);
  EXPECT_EQ(DecodeMap(row, sizeof row, store), std::set<uint32_t>(near.begin(), near.end()));

  for (int i = 0; i < 10; ++i) store.Allocate();
  const std::vector<uint32_t> wide = {3, 700, 1212, 32735, 32736, 40000};
  wi::EncodeUsageMap(wide, &store, row);
  EXPECT_EQ(row[0], 1);
  EXPECT_EQ(store.count(), 12u);  // one bitmap page for each of the two slots used
  EXPECT_EQ(DecodeMap(row, sizeof row, store), std::set<uint32_t>(wide.begin(), wide.end()));

  wi::EncodeUsageMap({}, &store, row);
  EXPECT_TRUE(DecodeMap(row, sizeof row, store).empty());
}

// --- Table definitions ----------------------------------------------------------------------

TEST(WriterDefinitionTest, LongDefinitionContinuesOnChainedPages) {
  std::vector<wi::ColumnSpec> specs;
  for (int i = 0; i < 200; ++i) {
    wi::ColumnSpec column;
    column.name = u"a_rather_long_column_name_" +
                  std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                  std::u16string(static_cast<size_t>(i / 26 + 1), u'x');
    column.type = i % 3 == 0 ? ColumnType::kMemo : ColumnType::kInt32;
    specs.push_back(column);
  }
  const wi::TableLayout layout = wi::BuildTableLayout(u"Wide", false, specs);
  wi::DefinitionValues values;
  for (const auto& c : layout.columns) {
    if (wi::IsLongValue(c.type)) values.long_columns.push_back({c.number, 0x101, 0x102});
  }
  const std::vector<uint8_t> def = wi::EncodeDefinition(layout, values);
  EXPECT_EQ(jet::LoadU32(def.data() + 8), def.size());
  EXPECT_EQ(def[def.size() - 1], 0xFF);
  const size_t pages = wi::DefinitionPageCount(def.size());
  ASSERT_GE(pages, 3u);

  wi::PageStore store;
  std::vector<uint32_t> numbers;
  for (size_t i = 0; i < pages + 2; ++i) store.Allocate();
  for (size_t i = 0; i < pages; ++i) numbers.push_back(static_cast<uint32_t>(i + 2));
  wi::StoreDefinition(def, numbers, &store);
  // A reader appends bytes 8.. of each continuation page to the first page.
  std::vector<uint8_t> joined(store.Page(numbers[0]), store.Page(numbers[0]) + kPage);
  uint32_t next = jet::LoadU32(store.Page(numbers[0]) + 4);
  EXPECT_EQ(jet::LoadU16(store.Page(numbers[0]) + 2), 0);
  while (next != 0) {
    const uint8_t* p = store.Page(next);
    EXPECT_EQ(p[0], 0x02);
    joined.insert(joined.end(), p + 8, p + kPage);
    if (jet::LoadU32(p + 4) == 0) {
      const size_t used = 8 + (def.size() - 4096) % 4088;
      EXPECT_EQ(jet::LoadU16(p + 2), kPage - 8 - used);
    }
    next = jet::LoadU32(p + 4);
  }
  joined.resize(def.size());
  EXPECT_TRUE(std::equal(def.begin() + 8, def.end(), joined.begin() + 8));

  EXPECT_EQ(wi::DefinitionPageCount(4096), 1u);
  EXPECT_EQ(wi::DefinitionPageCount(4097), 2u);
  EXPECT_EQ(wi::DefinitionPageCount(4096 + 4088), 2u);
  EXPECT_EQ(wi::DefinitionPageCount(4096 + 4089), 3u);
}

TEST(WriterDefinitionTest, FixedColumnsDoNotOverlapAndBooleansTakeNoBytes) {
  std::vector<wi::ColumnSpec> specs(6);
  const ColumnType types[] = {ColumnType::kBoolean, ColumnType::kDouble, ColumnType::kText,
                              ColumnType::kByte,    ColumnType::kMemo,   ColumnType::kInt16};
  for (size_t i = 0; i < specs.size(); ++i) {
    specs[i].name = u"c" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    specs[i].type = types[i];
    specs[i].length = 20;
  }
  const wi::TableLayout layout = wi::BuildTableLayout(u"T", false, specs);
  EXPECT_EQ(layout.fixed_size, 8 + 1 + 2);
  EXPECT_EQ(layout.var_count, 2);
  EXPECT_EQ(layout.columns[1].fixed_offset, 0);
  EXPECT_EQ(layout.columns[3].fixed_offset, 8);
  EXPECT_EQ(layout.columns[5].fixed_offset, 9);
  EXPECT_EQ(layout.columns[2].var_index, 0);
  EXPECT_EQ(layout.columns[4].var_index, 1);
  EXPECT_EQ(layout.columns[2].length, 40);
}

// --- Header ---------------------------------------------------------------------------------

std::vector<uint8_t> ReadSample(const char* name) {
  return testing_support::ReadBytes(std::filesystem::path(EXAMORA_SAMPLES_DIR) / name);
}

TEST(WriterHeaderTest, MatchesTheHeaderJetWroteForTheSameDateAndNoPassword) {
  const std::vector<uint8_t> sample = ReadSample("adox_jet4.mdb");
  ASSERT_GE(sample.size(), kPage);
  // The date is stored inside the masked region; take it from the deciphered sample.
  std::vector<uint8_t> region(sample.begin() + 0x18, sample.begin() + 0x98);
  base::Rc4(std::span<const uint8_t>(std::vector<uint8_t>{0xC7, 0xDA, 0x39, 0x6B})).Apply(region);
  const double date = jet::LoadF64(region.data() + 0x72 - 0x18);
  std::vector<uint8_t> page(kPage);
  wi::EncodeHeaderPage(u"", date, page.data());
  EXPECT_TRUE(std::equal(page.begin(), page.end(), sample.begin()));
}

TEST(WriterHeaderTest, PasswordIsMaskedWithTheCreationDay) {
  // The worked example of the format notes: date bytes 3e 85 d3 3b 3e ab e4 40.
  const uint8_t date_bytes[8] = {0x3e, 0x85, 0xd3, 0x3b, 0x3e, 0xab, 0xe4, 0x40};
  const std::vector<uint8_t> expected = {
      0xad, 0x5e, 0x9d, 0x37, 0x33, 0xe1, 0xf1, 0xfa, 0xad, 0xfb, 0x43, 0xe6, 0x32, 0x13,
      0xb3, 0x60, 0x79, 0x31, 0x0d, 0x36, 0x98, 0xd7, 0xa8, 0xb1, 0x54, 0x51, 0x2b, 0x43,
      0x96, 0x0a, 0xb1, 0x33, 0x6d, 0xc4, 0x79, 0x5b, 0xcb, 0x10, 0x7c, 0x2a};
  std::vector<uint8_t> page(kPage);
  wi::EncodeHeaderPage(u"rq7m2kx9tv4wz8", jet::LoadF64(date_bytes), page.data());
  EXPECT_EQ(std::vector<uint8_t>(page.begin() + 0x42, page.begin() + 0x6A), expected);
  EXPECT_EQ(jet::LoadU32(page.data() + 0x14), 1u);
}

// --- Input checks ---------------------------------------------------------------------------

WriterTable SmallTable() {
  WriterTable t;
  t.name = "T";
  t.columns = {{"id", ColumnType::kInt32, 255, true},
               {"txt", ColumnType::kText, 5},
               {"flag", ColumnType::kBoolean},
               {"pic", ColumnType::kLongBinary}};
  t.rows = {{int32_t{1}, std::u16string(u"abc"), true, std::vector<uint8_t>{1, 2}}};
  return t;
}

ErrorCode WriteError(const std::vector<WriterTable>& tables, jet::WriterOptions options = {}) {
  auto r = jet::WriteDatabase(tables, options);
  EXPECT_FALSE(r) << "accepted";
  return r ? ErrorCode::kIo : r.error().code;
}

TEST(WriterInputTest, RefusesValuesThatDoNotFitTheirColumn) {
  auto with = [](size_t column, CellValue v) {
    WriterTable t = SmallTable();
    t.rows[0][column] = std::move(v);
    return std::vector<WriterTable>{t};
  };
  EXPECT_EQ(WriteError(with(0, int16_t{1})), ErrorCode::kInvalid);   // wrong integer width
  EXPECT_EQ(WriteError(with(0, CellValue{})), ErrorCode::kInvalid);  // null in required
  EXPECT_EQ(WriteError(with(1, std::u16string(u"abcdef"))), ErrorCode::kInvalid);  // too long
  EXPECT_EQ(WriteError(with(1, std::vector<uint8_t>{1})), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(with(2, CellValue{})), ErrorCode::kInvalid);  // booleans are never null
  EXPECT_EQ(WriteError(with(3, std::u16string(u"x"))), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(with(3, std::vector<uint8_t>(size_t{1} << 24))), ErrorCode::kInvalid);
  WriterTable short_row = SmallTable();
  short_row.rows[0].pop_back();
  EXPECT_EQ(WriteError({short_row}), ErrorCode::kInvalid);
  // The message says where the fault is.
  auto r = jet::WriteDatabase(with(1, std::u16string(u"abcdef")), {});
  ASSERT_FALSE(r);
  EXPECT_NE(r.error().message.find("table T, row 0, column txt"), std::string::npos)
      << r.error().message;
}

TEST(WriterInputTest, RefusesBadNamesAndShapes) {
  auto renamed = [](std::string table, std::string column) {
    WriterTable t = SmallTable();
    t.name = std::move(table);
    t.columns[1].name = std::move(column);
    return std::vector<WriterTable>{t};
  };
  for (const char* bad : {"", " lead", "a.b", "a!b", "a[b]", "tab\tx", "\xFF"}) {
    EXPECT_EQ(WriteError(renamed(bad, "c")), ErrorCode::kInvalid) << bad;
    EXPECT_EQ(WriteError(renamed("T", bad)), ErrorCode::kInvalid) << bad;
  }
  EXPECT_EQ(WriteError(renamed(std::string(65, 'n'), "c")), ErrorCode::kInvalid);
  EXPECT_TRUE(jet::WriteDatabase(renamed("题库 " + std::string(61, 'n'), "c"), {}));
  EXPECT_EQ(WriteError(renamed("T", "ID")), ErrorCode::kInvalid);  // same as "id"
  EXPECT_EQ(WriteError({SmallTable(), SmallTable()}), ErrorCode::kInvalid);
  EXPECT_EQ(WriteError(renamed("msysobjects", "c")), ErrorCode::kInvalid);

  WriterTable none = SmallTable();
  none.columns.clear();
  none.rows.clear();
  EXPECT_EQ(WriteError({none}), ErrorCode::kInvalid);
  WriterTable wide = SmallTable();
  wide.rows.clear();
  for (int i = 0; wide.columns.size() <= 255; ++i)
    wide.columns.push_back({"x" + std::to_string(i), ColumnType::kByte});
  EXPECT_EQ(WriteError({wide}), ErrorCode::kInvalid);
  WriterTable text0 = SmallTable();
  text0.columns[1].length = 0;
  EXPECT_EQ(WriteError({text0}), ErrorCode::kInvalid);
  WriterTable currency = SmallTable();
  currency.columns[1].type = ColumnType::kCurrency;
  EXPECT_EQ(WriteError({currency}), ErrorCode::kUnsupported);
  WriterTable indexed = SmallTable();
  indexed.indexes.push_back({"byPic", {"pic"}});
  EXPECT_EQ(WriteError({indexed}), ErrorCode::kUnsupported);
}

TEST(WriterInputTest, RefusesBadOptionsAndOversizedRows) {
  jet::WriterOptions options;
  options.password = std::u16string(21, u'p');
  EXPECT_EQ(WriteError({SmallTable()}, options), ErrorCode::kInvalid);
  options.password = u"a\0b";
  options.password.resize(3);
  EXPECT_EQ(WriteError({SmallTable()}, options), ErrorCode::kInvalid);
  options.password = u"";
  for (double date : {-1.0, 1e300, std::nan("")}) {
    options.creation_date = date;
    EXPECT_EQ(WriteError({SmallTable()}, options), ErrorCode::kInvalid);
  }
  WriterTable wide;
  wide.name = "Wide";
  std::vector<CellValue> row;
  for (int i = 0; i < 9; ++i) {
    wide.columns.push_back({"t" + std::to_string(i), ColumnType::kText, 255});
    row.push_back(std::u16string(255, u'驾'));
  }
  wide.rows = {row};
  EXPECT_EQ(WriteError({wide}), ErrorCode::kInvalid);
  // Many short memos fit once they move to long-value pages.
  WriterTable memos;
  memos.name = "Memos";
  row.clear();
  for (int i = 0; i < 70; ++i) {
    memos.columns.push_back({"m" + std::to_string(i), ColumnType::kMemo});
    row.push_back(std::u16string(30, u'驾'));
  }
  memos.rows = {row};
  EXPECT_TRUE(jet::WriteDatabase({memos}, {}));
}

// --- Whole files ----------------------------------------------------------------------------

WriterTable MixedTable(const std::string& name, int rows) {
  WriterTable t;
  t.name = name;
  t.columns = {{"id", ColumnType::kInt32},   {"题目", ColumnType::kText, 100},
               {"memo", ColumnType::kMemo},  {"pic", ColumnType::kLongBinary},
               {"ok", ColumnType::kBoolean}, {"d", ColumnType::kDouble}};
  for (int i = 0; i < rows; ++i) {
    std::vector<uint8_t> pic(static_cast<size_t>(i % 7 == 0 ? 9000 : i % 5 * 40));
    for (size_t k = 0; k < pic.size(); ++k)
      pic[k] = static_cast<uint8_t>(k * 31 + static_cast<size_t>(i));
    t.rows.push_back(
        {int32_t{i}, std::u16string(u"第") + static_cast<char16_t>(u'0' + i % 10) + u"题",
         i % 3 == 0 ? CellValue{} : CellValue{std::u16string(static_cast<size_t>(i), u'm')}, pic,
         i % 2 == 0, i * 0.25});
  }
  return t;
}

TEST(WriterFileTest, SameInputGivesSameBytesAndTheDateOnlyChangesTheHeader) {
  const std::vector<WriterTable> tables = {MixedTable("A", 300), MixedTable("B", 20)};
  jet::WriterOptions options;
  options.password = u"口令";
  auto first = jet::WriteDatabase(tables, options);
  auto second = jet::WriteDatabase(tables, options);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(*first, *second);
  options.creation_date += 1.5;
  auto later = jet::WriteDatabase(tables, options);
  ASSERT_TRUE(later);
  ASSERT_EQ(later->size(), first->size());
  std::set<size_t> changed_pages;
  for (size_t i = 0; i < first->size(); ++i) {
    if ((*first)[i] != (*later)[i]) changed_pages.insert(i / kPage);
  }
  // The header, and the catalog rows that carry the creation and update dates.
  EXPECT_EQ(changed_pages.count(0), 1u);
  EXPECT_LE(changed_pages.size(), 3u);
}

// Walks every page of a written file and checks what readers take for granted.
TEST(WriterFileTest, EveryPageKeepsTheInvariantsReadersRelyOn) {
  auto file = jet::WriteDatabase({MixedTable("A", 2500), MixedTable("B", 3)}, {});
  ASSERT_TRUE(file);
  const std::vector<uint8_t>& b = *file;
  ASSERT_EQ(b.size() % kPage, 0u);
  const size_t pages = b.size() / kPage;
  EXPECT_EQ(b[2 * kPage], 0x02);  // the catalog's definition
  size_t data_pages = 0, long_value_pages = 0;
  for (size_t n = 1; n < pages; ++n) {
    const uint8_t* p = b.data() + n * kPage;
    ASSERT_TRUE(p[0] >= 0x01 && p[0] <= 0x05) << "page " << n;
    EXPECT_EQ(p[1], 0x01);
    if (p[0] != 0x01) continue;
    const PageView v{p};
    ASSERT_LE(v.rows(), 255);
    size_t end = kPage;
    for (size_t i = 0; i < v.rows(); ++i) {
      EXPECT_EQ(v.offset(i) & 0xE000, 0) << "flags on page " << n;
      ASSERT_LT(v.offset(i), end) << "page " << n << " row " << i;
      end = v.offset(i);
    }
    EXPECT_GE(end, 14u + 2 * v.rows());
    EXPECT_EQ(v.free(), end - 14 - 2 * v.rows()) << "page " << n;
    if (jet::LoadU32(p + 4) == wi::kLongValueOwner)
      ++long_value_pages;
    else
      ++data_pages;
  }
  EXPECT_GT(data_pages, 20u);
  EXPECT_GT(long_value_pages, 2500u / 7 * 2);
}

// Our own reader sees what the writer wrote. Independent readers are checked in the oracle
// tests.
TEST(WriterFileTest, OwnReaderReadsBackEveryValue) {
  const WriterTable table = MixedTable("A", 400);
  jet::WriterOptions options;
  options.password = u"pw";
  auto file = jet::WriteDatabase({table}, options);
  ASSERT_TRUE(file);
  auto db = jet::Database::Open(
      std::make_unique<jet::MemFile>(std::string(file->begin(), file->end()), false), u"pw");
  ASSERT_TRUE(db) << db.error().message;
  auto def = (*db)->ReadTable(u"A");
  ASSERT_TRUE(def) << def.error().message;
  EXPECT_EQ(def->row_count, 400u);
  size_t row_index = 0;
  auto scanned = (*db)->ScanRows(*def, [&](const jet::Row& row) {
    for (size_t c = 0; c < table.columns.size(); ++c) {
      auto value = (*db)->ReadValue(*def, row, static_cast<int>(c));
      EXPECT_TRUE(value) << value.error().message;
      if (!value) return false;
      const CellValue& want = table.rows[row_index][c];
      const jet::Value& got = *value;
      std::visit(
          [&](const auto& w) {
            using W = std::decay_t<decltype(w)>;
            if constexpr (std::is_same_v<W, std::monostate>) {
              EXPECT_TRUE(std::holds_alternative<std::monostate>(got));
            } else {
              const W* g = std::get_if<W>(&got);
              EXPECT_TRUE(g != nullptr && *g == w) << "row " << row_index << " column " << c;
            }
          },
          want);
    }
    ++row_index;
    return true;
  });
  ASSERT_TRUE(scanned) << scanned.error().message;
  EXPECT_EQ(row_index, 400u);
}

}  // namespace
