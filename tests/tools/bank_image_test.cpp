// The built question bank, through the independent readers and through our own unit.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <algorithm>
#include <filesystem>
#include <map>

#include "bank/cipher.h"
#include "bank/database.h"
#include "build.h"
#include "exam/context.h"
#include "exam/progress.h"
#include "jet/database.h"
#include "jet/index_pages.h"
#include "platform/fake/fake_host.h"
#include "sheet.h"
#include "source.h"
#include "support/process.h"
#include "text/gbk.h"
#include "ui/windows.h"

namespace {

using testing_support::HaveCommand;
using testing_support::ReadBytes;
using testing_support::RunCommand;
using testing_support::ShellQuote;
using testing_support::Split;
using testing_support::TempDir;

const std::string kImage = EXAMORA_BANK_IMAGE_FILE;
const std::string kSources = std::string(EXAMORA_SOURCE_DIR) + "/assets/bank";

banksrc::Bank Sources() {
  std::vector<banksrc::Fault> faults;
  auto bank = banksrc::ReadBank(kSources, faults);
  EXPECT_TRUE(faults.empty());
  return bank;
}

TEST(BankImage, IndependentReaderListsAndExportsIt) {
  if (!HaveCommand("mdb-export")) GTEST_SKIP() << "mdbtools not installed";
  const std::string file = ShellQuote(kImage);
  EXPECT_EQ(RunCommand("mdb-tables -1 " + file), "config\ntest\n");
  // config: exactly the category list.
  auto bank = Sources();
  auto lines = Split(RunCommand("mdb-export -Q -d '|' " + file + " config"), '\n');
  ASSERT_EQ(lines.size(), 1 + bank.categories.size() + 1);
  EXPECT_EQ(lines[0], "NUMBERID|TESTNAME|TESTTYPE|TESTNUM|C1C2C3C4|A1A3B1|A2B2|M|DEF");
  for (size_t i = 0; i < bank.categories.size(); ++i) {
    const auto& c = bank.categories[i];
    std::string want = c.code + "|" + c.name + "||" + c.test_num;
    for (double n : c.classes) want += "|" + std::to_string(static_cast<int>(n));
    EXPECT_EQ(lines[1 + i], want);
  }
  // test: one row per question, in id order, per category as in the sources.
  auto rows = Split(RunCommand("mdb-export -Q -b hex -d '|' " + file + " test"), '\n');
  ASSERT_EQ(rows.size(), bank.questions.size() + 2);
  std::map<std::string, int> per_category, expected;
  for (size_t i = 1; i + 1 < rows.size(); ++i) {
    const std::string id = rows[i].substr(0, 7);
    EXPECT_EQ(id, bank.questions[i - 1].id);
    ++per_category[id.substr(0, 2)];
  }
  for (const auto& q : bank.questions) ++expected[q.id.substr(0, 2)];
  EXPECT_EQ(per_category, expected);
  EXPECT_NE(RunCommand("mdb-schema " + file).find("[reserved]\t\t\tInteger"), std::string::npos);
}

TEST(BankImage, SecondReaderSeesThePassword) {
  const std::string oracle = std::string(EXAMORA_SOURCE_DIR) + "/tests/oracle";
  if (!std::filesystem::exists(oracle + "/node_modules/mdb-reader") || !HaveCommand("node")) {
    GTEST_SKIP() << "npm oracle not installed";
  }
  const std::string out = RunCommand("node " + ShellQuote(oracle + "/dump.mjs") + " " +
                                     ShellQuote(kImage) + " | head -c 200");
  EXPECT_NE(out.find("\"password\":\"rq7m2kx9tv4wz8\""), std::string::npos) << out;
}

TEST(BankImage, EveryQuestionAndPictureDeciphers) {
  bank::Database db;
  ASSERT_TRUE(db.Open(kImage, "", "rq7m2kx9tv4wz8")) << db.last_error().message;
  auto bank = Sources();
  std::map<std::string, const banksrc::Question*> by_id;
  for (const auto& q : bank.questions) by_id[q.id] = &q;
  const int32_t h = db.OpenTable("select * from test");
  ASSERT_NE(h, 0);
  size_t n = 0, pictures = 0;
  for (; !db.IsEOF(h); db.MoveNext(h), ++n) {
    const std::string id = db.ReadColByName(h, "id").bytes;
    ASSERT_TRUE(by_id.count(id)) << id;
    const banksrc::Question& q = *by_id[id];
    const std::string question = bank::Decipher(db.ReadColByName(h, "timu").bytes);
    EXPECT_EQ(text::GbkToUtf8(question), q.question) << id;
    EXPECT_EQ(db.ReadColByName(h, "name").bytes, q.name + " ");
    EXPECT_EQ(db.ReadColByName(h, "right_key").bytes, std::string(1, q.answer));
    EXPECT_EQ(db.ReadColByName(h, "reserved").number(), 0);
    EXPECT_EQ(db.ReadColByName(h, "c").bytes.empty(), q.true_false());
    const std::string pic = bank::Decipher(db.ReadColByName(h, "pic").bytes);
    EXPECT_EQ(pic.empty(), q.picture.empty()) << id;
    if (!pic.empty()) {
      ++pictures;
      QByteArray bytes(pic.data(), static_cast<qsizetype>(pic.size()));
      QBuffer buffer(&bytes);
      QImageReader reader(&buffer);
      const QByteArray format = reader.format();
      EXPECT_TRUE(format == "gif" || format == "jpeg") << id << " " << format.toStdString();
      const QImage image = reader.read();
      EXPECT_FALSE(image.isNull()) << id;
      EXPECT_EQ(image.size(), QSize(400, 400)) << id;
    }
  }
  EXPECT_EQ(n, bank.questions.size());
  size_t with_picture = 0;
  for (const auto& q : bank.questions) with_picture += !q.picture.empty();
  EXPECT_EQ(pictures, with_picture);
}

// config carries the indexes NUMBERID and TESTNUM: mdb-schema lists them, and each leaf holds
// one entry per category, in the order of the indexed texts (as strings: "0" < "127" < "30").
TEST(BankImage, ConfigCarriesItsTwoIndexes) {
  if (HaveCommand("mdb-schema")) {
    const std::string schema = RunCommand("mdb-schema " + ShellQuote(kImage) + " postgres");
    EXPECT_NE(schema.find("CREATE INDEX \"config_numberid_idx\" ON \"config\" (\"numberid\");"),
              std::string::npos)
        << schema;
    EXPECT_NE(schema.find("CREATE INDEX \"config_testnum_idx\" ON \"config\" (\"testnum\");"),
              std::string::npos)
        << schema;
  }
  const std::vector<uint8_t> file = ReadBytes(kImage);
  auto db = jet::Database::Open(kImage, jet::OpenMode::kReadOnly, u"rq7m2kx9tv4wz8");
  ASSERT_TRUE(db) << db.error().message;
  auto def = (*db)->ReadTable(u"config");
  ASSERT_TRUE(def);
  std::map<std::pair<uint32_t, uint32_t>, std::u16string> numberid, testnum;
  ASSERT_TRUE((*db)->ScanRows(*def, [&](const jet::Row& row) {
    numberid[{row.id.page, row.id.row}] = std::get<std::u16string>(*(*db)->ReadValue(*def, row, 0));
    testnum[{row.id.page, row.id.row}] = std::get<std::u16string>(*(*db)->ReadValue(*def, row, 3));
    return true;
  }));
  auto indexes = index_pages::ReadTableIndexes(file, def->tdef_page);
  ASSERT_TRUE(indexes);
  ASSERT_EQ(indexes->logical.size(), 2u);
  EXPECT_EQ(indexes->logical[0].name, u"NUMBERID");
  EXPECT_EQ(indexes->logical[1].name, u"TESTNUM");
  const auto& bank = Sources();
  for (const auto& logical : indexes->logical) {
    const auto& real = indexes->real[logical.real];
    EXPECT_EQ(real.flags, 0x80);  // not unique
    auto leaf = index_pages::ReadLeaf(file.data() + size_t{real.root} * index_pages::kPage);
    ASSERT_TRUE(leaf);
    ASSERT_EQ(leaf->entries.size(), bank.categories.size());
    const auto& values = logical.name == u"NUMBERID" ? numberid : testnum;
    std::vector<std::u16string> in_leaf_order;
    for (const auto& e : leaf->entries) in_leaf_order.push_back(values.at({e.page, e.row}));
    EXPECT_TRUE(std::is_sorted(in_leaf_order.begin(), in_leaf_order.end()));
  }
}

// The contact sheet that the build writes: one figure per picture question, each with the
// picture exactly as the file holds it and the question beside it, and nothing else.
TEST(BankImage, ContactSheetShowsEveryPictureWithItsQuestion) {
  bank::Database db;
  ASSERT_TRUE(db.Open(kImage, "", "rq7m2kx9tv4wz8")) << db.last_error().message;
  auto page = banksrc::ContactSheet(db);
  ASSERT_TRUE(page) << page.error().message;
  const std::vector<uint8_t> built = ReadBytes(EXAMORA_CONTACT_SHEET_FILE);
  EXPECT_TRUE(std::string(built.begin(), built.end()) == *page) << "the build's sheet is stale";

  size_t figures = 0;
  for (size_t at = page->find("<figure "); at != std::string::npos;
       at = page->find("<figure ", at + 1)) {
    ++figures;
  }
  size_t with_picture = 0;
  for (const auto& q : Sources().questions) {
    const size_t at = page->find("<figure id=\"q" + q.id + "\">");
    if (q.picture.empty()) {
      EXPECT_EQ(at, std::string::npos) << q.id << " has no picture but a figure";
      continue;
    }
    ++with_picture;
    ASSERT_NE(at, std::string::npos) << q.id;
    const size_t end = page->find("</figure>", at);
    const std::string figure = page->substr(at, end - at);
    EXPECT_NE(figure.find(q.question), std::string::npos) << q.id;
    EXPECT_NE(figure.find(std::string("<li class=\"key\">") + q.answer + " "), std::string::npos)
        << q.id;
  }
  EXPECT_EQ(figures, with_picture);

  // The first figure's picture decodes to the bytes of its row's pic column.
  const size_t src = page->find(";base64,");
  ASSERT_NE(src, std::string::npos);
  const size_t quote = page->find('"', src);
  const QByteArray decoded =
      QByteArray::fromBase64(QByteArray::fromStdString(page->substr(src + 8, quote - src - 8)));
  const size_t id_at = page->find("<figure id=\"q") + 13;
  const std::string id = page->substr(id_at, 7);
  const int32_t h = db.OpenTable("select * from test where id='" + id + "'");
  ASSERT_NE(h, 0);
  ASSERT_FALSE(db.IsEOF(h));
  EXPECT_EQ(decoded.toStdString(), bank::Decipher(db.ReadColByName(h, "pic").bytes)) << id;
}

// What a learner of each class sees in the progress line of a fresh bank: the whole bank of
// the class, nothing mastered yet.
TEST(BankImage, ProgressLinesOfAFreshBank) {
  bank::Database db;
  ASSERT_TRUE(db.Open(kImage, "", "rq7m2kx9tv4wz8", true)) << db.last_error().message;
  platform::FakeHost host;
  ui::MainWindow main;
  ui::ScoreWindow score;
  exam::Context ctx(main, score, db, host, exam::Pictures{"P", "R", "W"});
  for (const auto& [licence_class, line] : std::vector<std::pair<std::string, std::string>>{
           {"C1C2C3C4", "共1319题，已记住0题，尚余1319题，及格率0%"},
           {"A1A3B1", "共1378题，已记住0题，尚余1378题，及格率0%"},
           {"A2B2", "共1389题，已记住0题，尚余1389题，及格率0%"},
           {"M", "共1370题，已记住0题，尚余1370题，及格率0%"},
           {"DEF", "共800题，已记住0题，尚余800题，及格率0%"}}) {
    ASSERT_TRUE(exam::ShowProgressStatistics(ctx, licence_class)) << licence_class;
    EXPECT_EQ(text::GbkToUtf8(main.及格率标签.caption()), line) << licence_class;
  }
}

TEST(BankImage, TwoBuildsGiveTheSameBytes) {
  TempDir dir;
  const std::string out = (dir / "again.sys").string();
  int status = -1;
  RunCommand(ShellQuote(EXAMORA_BANK_BUILDER) + " build " + ShellQuote(kSources) + " " +
                 ShellQuote(out) + " >/dev/null",
             &status);
  ASSERT_EQ(status, 0);
  EXPECT_TRUE(ReadBytes(out) == ReadBytes(kImage)) << "the build is not reproducible";
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
