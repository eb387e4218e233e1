// The statement subset: parsing, Access semantics of conditions, and updates on real files.
#include <gtest/gtest.h>

#include "jet/database.h"
#include "sql/executor.h"
#include "sql/statement.h"
#include "support/bank_fixture.h"

namespace {

using base::ErrorCode;

TEST(SqlParse, AcceptsEveryStatementTheTrainerBuilds) {
  for (const char16_t* text : {
           u"select * from config where C1C2C3C4>0",
           u"select * from test where reserved<2 and (left(id,2)='01' or left(id,2)='02')",
           u"select * from test where left(id,2)='11' or left(id,2)='12'",
           u"select * from test where id='0100001'",
           u"select count(*) as count from test where left(id,2)='01'",
           u"select count(*) as count from test where reserved>=2 and (left(id,2)='01')",
           u"update test set reserved=0 where id='0100001'",
           u"update test set reserved=3 where id='0100001'",
           u"update test set reserved=0",
           u"SELECT * FROM [test] WHERE NOT (reserved <> 1);",
       }) {
    auto s = sql::Parse(text);
    EXPECT_TRUE(s) << (s ? "" : s.error().message);
  }
}

TEST(SqlParse, StructureAndPrecedence) {
  auto s = sql::Parse(u"select count(*) as n from T where a=1 or b=2 and not c=3");
  ASSERT_TRUE(s);
  EXPECT_EQ(s->kind, sql::Statement::Kind::kSelectCount);
  EXPECT_EQ(s->count_name, u"n");
  EXPECT_EQ(s->table, u"T");
  ASSERT_EQ(s->where->kind, sql::Expr::Kind::kOr);  // and binds tighter than or
  EXPECT_EQ(s->where->args[1]->kind, sql::Expr::Kind::kAnd);
  EXPECT_EQ(s->where->args[1]->args[1]->kind, sql::Expr::Kind::kNot);

  auto q = sql::Parse(u"select * from t where x='it''s'");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->where->args[1]->text, u"it's");
  auto u = sql::Parse(u"update t set r=-5");
  ASSERT_TRUE(u);
  EXPECT_EQ(u->set_value, -5);
}

TEST(SqlParse, RejectsMalformedStatements) {
  for (const char16_t* text : {
           u"", u"select", u"select * from", u"select * test", u"select a from t",
           u"select * from t where", u"select * from t where (a=1", u"select * from t where a=1)",
           u"select * from t where x='open", u"update t set r=", u"update t set r='x'",
           u"update t set r=1.5", u"delete from t", u"select * from t where f(x)=1",
           u"select * from t where a==1", u"select * from t where a=99999999999999999999",
           u"select * from where", u"select * from t; select * from t",
       }) {
    auto s = sql::Parse(text);
    ASSERT_FALSE(s) << "accepted: " << std::string(text, text + std::char_traits<char16_t>::length(text)).size();
    EXPECT_EQ(s.error().code, ErrorCode::kSyntax);
  }
  std::u16string deep(5000, u'(');
  EXPECT_FALSE(sql::Parse(u"select * from t where " + deep + u"a=1"));
}

class SqlOnFile : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = new jet::MemFile(testing_support::BankImage(20));
    auto db = jet::Database::Open(std::unique_ptr<jet::File>(file_), u"pw");
    ASSERT_TRUE(db) << db.error().message;
    db_ = std::move(*db);
  }
  base::Result<int64_t> Count(const std::u16string& where) {
    auto s = sql::Parse(u"select count(*) as count from test" + where);
    if (!s) return base::Unexpected<base::Error>(s.take_error());
    return sql::Count(*db_, *s);
  }
  std::vector<std::u16string> Ids(const std::u16string& text) {
    std::vector<std::u16string> ids;
    auto s = sql::Parse(text);
    EXPECT_TRUE(s);
    auto sel = sql::Select(*db_, *s);
    EXPECT_TRUE(sel) << sel.error().message;
    if (!sel) return ids;
    for (const auto& row : sel->rows) {
      ids.push_back(std::get<std::u16string>(*db_->ReadValue(sel->table, row, 0)));
    }
    return ids;
  }
  int64_t Update(const std::u16string& text) {
    auto s = sql::Parse(text);
    EXPECT_TRUE(s);
    auto n = sql::Update(*db_, *s);
    return n ? *n : -1;
  }
  jet::MemFile* file_ = nullptr;
  std::unique_ptr<jet::Database> db_;
};

TEST_F(SqlOnFile, ConditionsSelectInPhysicalOrder) {
  EXPECT_EQ(*Count(u""), 60);
  EXPECT_EQ(*Count(u" where left(id,2)='01'"), 20);
  EXPECT_EQ(*Count(u" where reserved<2 and (left(id,2)='01' or left(id,2)='02')"), 20);
  EXPECT_EQ(*Count(u" where reserved>=2"), 30);
  EXPECT_EQ(*Count(u" where not reserved>=2"), 30);
  EXPECT_EQ(*Count(u" where reserved<>0 and reserved<>1"), 30);
  EXPECT_EQ(*Count(u" where LEFT(ID,2)='11' Or left(id,2)='99'"), 20);
  EXPECT_EQ(*Count(u" where left(id,0)=''"), 60);
  EXPECT_EQ(*Count(u" where left(id,99)='0100007'"), 1);
  EXPECT_EQ(*Count(u" where id>='0200001' and id<'1100001'"), 20);
  EXPECT_EQ(*Count(u" where right_key='a'"), 60) << "texts compare without case";
  EXPECT_EQ(*Count(u" where reserved=-1 or 1=0"), 0);
  auto ids = Ids(u"select * from test where left(id,2)='02' and reserved=1");
  ASSERT_EQ(ids.size(), 5u);
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end())) << "the file holds rows in id order";
}

// A flat chain of or/and terms (as a hostile or generated statement may hold) is one node
// with every term as an operand: binding, evaluating and freeing it need no stack per term.
TEST_F(SqlOnFile, LongFlatChainsRunWithoutDepth) {
  std::u16string ors = u" where id='none'";
  for (int i = 0; i < 60000; ++i) ors += u" or id='none'";
  ors += u" or left(id,2)='02'";
  auto parsed = sql::Parse(u"select count(*) as count from test" + ors);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->where->kind, sql::Expr::Kind::kOr);
  EXPECT_EQ(parsed->where->args.size(), 60002u);
  EXPECT_EQ(*Count(ors), 20);
  std::u16string ands = u" where reserved>=0";
  for (int i = 0; i < 60000; ++i) ands += u" and reserved<9";
  EXPECT_EQ(*Count(ands + u" and left(id,2)='11'"), 20);
  EXPECT_EQ(Update(u"update test set reserved=4" + ands + u" and id='0100003'"), 1);
  // Three-valued over a chain: unknown or true = true, unknown or false = unknown.
  EXPECT_EQ(*Count(u" where c='x' or c='y' or reserved>=0"), 60);
  const int64_t with_c = *Count(u" where not (c='x' or c='y' or reserved<0)");
  EXPECT_EQ(with_c, *Count(u" where c<>''")) << "rows whose c is null stay out";
  EXPECT_LT(with_c, 60);
}

TEST_F(SqlOnFile, NullIsUnknownNeverSelected) {
  // c is null for true/false questions: neither c='x' nor not c='x' selects them.
  const int64_t with_c = *Count(u" where c='选项三'");
  const int64_t without = *Count(u" where not c='选项三'");
  EXPECT_EQ(with_c, 48);
  EXPECT_EQ(without, 0);
  EXPECT_EQ(*Count(u" where c='选项三' or reserved>=0"), 60) << "true or unknown is true";
  EXPECT_EQ(*Count(u" where c<>'x' and reserved>=0"), 48) << "unknown and true is unknown";
}

TEST_F(SqlOnFile, ErrorsAreReportedNotGuessed) {
  auto s = sql::Parse(u"select * from nosuch");
  EXPECT_EQ(sql::Select(*db_, *s).error().code, ErrorCode::kNotFound);
  EXPECT_EQ(Count(u" where nosuch=1").error().code, ErrorCode::kNotFound);
  EXPECT_EQ(Count(u" where id=1").error().code, ErrorCode::kInvalid);
  EXPECT_EQ(Count(u" where reserved='1'").error().code, ErrorCode::kInvalid);
  EXPECT_EQ(Count(u" where timu='x'").error().code, ErrorCode::kInvalid);
  EXPECT_EQ(Count(u" where left(reserved,1)='1'").error().code, ErrorCode::kInvalid);
  EXPECT_EQ(Count(u" where id").error().code, ErrorCode::kInvalid);
}

TEST_F(SqlOnFile, UpdatesChangeExactlyTheMatchingRows) {
  EXPECT_EQ(Update(u"update test set reserved=3 where id='0100001'"), 1);
  EXPECT_EQ(*Count(u" where reserved=3"), 16);
  EXPECT_EQ(Update(u"update test set reserved=9 where id='nosuch'"), 0);
  EXPECT_EQ(Update(u"update test set reserved=7 where left(id,2)='11'"), 20);
  EXPECT_EQ(*Count(u" where reserved=7"), 20);
  EXPECT_EQ(Update(u"update test set reserved=0"), 60);
  EXPECT_EQ(*Count(u" where reserved=0"), 60);
  EXPECT_EQ(Update(u"update test set reserved=-32768"), 60);
  EXPECT_EQ(*Count(u" where reserved=-32768"), 60);
}

TEST_F(SqlOnFile, RefusedUpdatesChangeNothing) {
  const std::string before = file_->bytes();
  for (const char16_t* text : {u"update test set reserved=32768", u"update test set reserved=-32769",
                               u"update test set id=1", u"update test set nosuch=1",
                               u"update test set timu=1", u"update nosuch set reserved=1",
                               u"update test set reserved=1 where nosuch=1"}) {
    EXPECT_EQ(Update(text), -1) << "accepted";
  }
  EXPECT_EQ(file_->bytes(), before);
}

}  // namespace
