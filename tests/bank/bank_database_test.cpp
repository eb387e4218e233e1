// The database unit as the trainer uses it: connection text, open refusals, record sets,
// typed values and statements.
#include <gtest/gtest.h>

#include <filesystem>

#include "bank/database.h"
#include "support/bank_fixture.h"
#include "support/process.h"
#include "text/gbk.h"

namespace {

using bank::Value;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::string G(const char* utf8) { return text::Utf8ToGbk(utf8); }

TEST(BankConnection, TextHasEveryPartInOrder) {
  EXPECT_EQ(bank::BuildConnectionText("/opt/examora/exam.sys", "", "pw"),
            "ODBC;DBQ=/opt/examora/exam.sys;DefaultDir=/opt/examora;"
            "Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;PWD=pw;");
  EXPECT_EQ(bank::BuildConnectionText("exam.sys", "", ""),
            "ODBC;DBQ=exam.sys;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
  EXPECT_EQ(bank::BuildConnectionText("/a/b", "me", "x"),
            "ODBC;DBQ=/a/b;DefaultDir=/a;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;"
            "UID=me;PWD=x;");
}

class BankFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (dir_ / "exam.sys").string();
    WriteBytes(path_, testing_support::BankImage(20, u"rq7m;2kx"));
  }
  TempDir dir_;
  std::string path_;
};

TEST_F(BankFile, OpensOnlyWithItsPassword) {
  bank::Database db;
  EXPECT_TRUE(db.Open(path_, "", "rq7m;2kx")) << db.last_error();
  bank::Database wrong;
  EXPECT_FALSE(wrong.Open(path_, "", "rq7m"));
  EXPECT_FALSE(wrong.Open(path_, "", ""));
  EXPECT_FALSE(wrong.is_open());
}

TEST_F(BankFile, RefusesWhatIsNoQuestionBank) {
  bank::Database db;
  EXPECT_FALSE(db.Open((dir_ / "missing.sys").string(), "", "x"));
  EXPECT_FALSE(db.Open(dir_.path().string(), "", "x")) << "a directory";
  WriteBytes(dir_ / "empty.sys", {});
  EXPECT_FALSE(db.Open((dir_ / "empty.sys").string(), "", "x"));
  auto image = testing_support::BankImage(20, u"x");
  auto cut = image;
  cut.resize(cut.size() / 2);
  WriteBytes(dir_ / "cut.sys", cut);
  EXPECT_FALSE(db.Open((dir_ / "cut.sys").string(), "", "x")) << "a truncated image";
  // A real database that is not a question bank.
  std::filesystem::copy_file(std::string(EXAMORA_SAMPLES_DIR) + "/testV2000.mdb", dir_ / "f.mdb");
  EXPECT_FALSE(db.Open((dir_ / "f.mdb").string(), "", ""));
  EXPECT_NE(db.last_error().find("not a question bank"), std::string::npos);
  // test without reserved.
  auto test = testing_support::TestTable(3);
  test.columns.pop_back();
  for (auto& row : test.rows) row.pop_back();
  auto bytes = jet::WriteDatabase({testing_support::ConfigTable(), test}, {});
  ASSERT_TRUE(bytes);
  WriteBytes(dir_ / "old.sys", *bytes);
  EXPECT_FALSE(db.Open((dir_ / "old.sys").string(), "", ""));
}

TEST_F(BankFile, RecordSetsWalkTheRowsWithTypedValues) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  const int32_t h = db.OpenTable("select * from test where left(id,2)='02'");
  ASSERT_NE(h, 0) << db.last_error();
  int rows = 0;
  for (db.MoveFirst(h); !db.IsEOF(h); db.MoveNext(h)) {
    Value id = db.ReadColByName(h, "id");
    ASSERT_TRUE(id.is_text());
    EXPECT_EQ(id.bytes.substr(0, 2), "02");
    Value timu = db.ReadColByName(h, "TIMU");
    EXPECT_TRUE(timu.is_bytes());
    EXPECT_EQ(timu.bytes.size(), 3u);
    Value reserved = db.ReadColByName(h, "reserved");
    EXPECT_EQ(reserved.kind, Value::Kind::kInt16);
    Value pic = db.ReadColByName(h, "pic");
    EXPECT_TRUE(pic.is_bytes()) << "a null picture reads as an empty byte string";
    Value c = db.ReadColByName(h, "c");
    EXPECT_TRUE(c.is_text()) << "a null text reads as the empty text";
    if (db.ReadColByName(h, "a").bytes == G("正确")) {
      EXPECT_EQ(c.bytes, "");
    }
    EXPECT_EQ(db.ReadColByIndex(h, 1).bytes, id.bytes);
    EXPECT_EQ(db.ReadColByIndex(h, 11).kind, Value::Kind::kNone);
    EXPECT_EQ(db.ReadColByName(h, "nosuch").kind, Value::Kind::kNone);
    ++rows;
  }
  EXPECT_EQ(rows, 20);
  EXPECT_EQ(db.ReadColByName(h, "id").kind, Value::Kind::kNone) << "no current row";
  db.MoveFirst(h);
  EXPECT_FALSE(db.IsEOF(h));
  db.CloseTable(h);
  EXPECT_TRUE(db.IsEOF(h));
  EXPECT_EQ(db.open_record_sets(), 0);
}

TEST_F(BankFile, CountsAndConfigRows) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  const int32_t h = db.OpenTable("select count(*) as count from test where reserved>=2");
  ASSERT_NE(h, 0);
  EXPECT_EQ(db.ReadColByIndex(h, 1).number(), 30);
  EXPECT_EQ(db.ReadColByName(h, "COUNT").number(), 30);
  db.MoveNext(h);
  EXPECT_TRUE(db.IsEOF(h));
  const int32_t c = db.OpenTable("select * from config where DEF>0");
  ASSERT_NE(c, 0);
  ASSERT_FALSE(db.IsEOF(c));
  EXPECT_EQ(db.ReadColByName(c, "NUMBERID").bytes, "11");
  EXPECT_EQ(db.ReadColByName(c, "DEF").kind, Value::Kind::kDouble);
  EXPECT_EQ(db.ReadColByName(c, "TESTNAME").bytes, G("名称"));
  db.MoveNext(c);
  EXPECT_TRUE(db.IsEOF(c));
  EXPECT_NE(c, h) << "every record set has its own handle";
}

TEST_F(BankFile, StatementsAndTheirFailures) {
  bank::Database db;
  ASSERT_TRUE(db.Open(path_, "", "rq7m;2kx"));
  EXPECT_EQ(db.OpenTable(""), 0);
  EXPECT_EQ(db.OpenTable("select * from nosuch"), 0);
  EXPECT_EQ(db.OpenTable("select * form test"), 0);
  EXPECT_EQ(db.OpenTable("update test set reserved=0"), 0);
  EXPECT_FALSE(db.ExecuteSql(""));
  EXPECT_FALSE(db.ExecuteSql("update test set reserved=32768"));
  EXPECT_FALSE(db.ExecuteSql("update test set reserved=1 where id='0100001"));
  EXPECT_TRUE(db.ExecuteSql("update test set reserved=2 where id='0100001'"));
  EXPECT_TRUE(db.ExecuteSql(G("update test set reserved=3 where id='0100001' or a='选项一'")));
  db.Close();
  // The change is in the file, seen by a fresh open.
  bank::Database again;
  ASSERT_TRUE(again.Open(path_, "", "rq7m;2kx"));
  const int32_t h = again.OpenTable("select * from test where id='0100001'");
  ASSERT_FALSE(again.IsEOF(h));
  EXPECT_EQ(again.ReadColByName(h, "reserved").number(), 3);
}

TEST(BankValues, TextsBecomeGbkWithQuestionMarks) {
  jet::Column text;
  text.type = jet::ColumnType::kText;
  EXPECT_EQ(bank::ToProgramValue(text, std::u16string(u"中文")).bytes, G("中文"));
  EXPECT_EQ(bank::ToProgramValue(text, std::u16string(u"a\U0001F600b")).bytes, "a?b");
  EXPECT_EQ(bank::ToProgramValue(text, std::u16string(u"\u20AC")).bytes.size(), 1u);
}

}  // namespace
