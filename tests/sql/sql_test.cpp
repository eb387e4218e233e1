// The statement subset: parsing, Access semantics of conditions, and updates on real files.
#include <gtest/gtest.h>

#include "jet/database.h"
#include "jet/writer.h"
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
  EXPECT_EQ(sql::Parse(u"select count(*) from t")->count_name, u"Expr1000") << "the unnamed count";
  ASSERT_EQ(s->where->kind, sql::Expr::Kind::kOr);  // and binds tighter than or
  EXPECT_EQ(s->where->args[1]->kind, sql::Expr::Kind::kAnd);
  EXPECT_EQ(s->where->args[1]->args[1]->kind, sql::Expr::Kind::kNot);

  auto q = sql::Parse(u"select * from t where x='it''s'");
  ASSERT_TRUE(q);
  EXPECT_EQ(q->where->args[1]->text, u"it's");
  // Several literals with doubled quotes in one statement, each kept whole; quotes at the ends.
  q = sql::Parse(u"select * from t where x='''' or x='a''''b' or x='' or x=\"say \"\"hi\"\"\"");
  ASSERT_TRUE(q);
  ASSERT_EQ(q->where->args.size(), 4u);
  EXPECT_EQ(q->where->args[0]->args[1]->text, u"'");
  EXPECT_EQ(q->where->args[1]->args[1]->text, u"a''b");
  EXPECT_EQ(q->where->args[2]->args[1]->text, u"");
  EXPECT_EQ(q->where->args[3]->args[1]->text, u"say \"hi\"");
  auto u = sql::Parse(u"update t set r=-5");
  ASSERT_TRUE(u);
  EXPECT_EQ(u->set_value, -5);
}

// The statements here are ASCII.
std::string Ascii(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += static_cast<char>(c);
  return out;
}

// A statement written out with every part of its tree: two statements that show the same are
// the same to the executor.
std::string Show(const sql::Expr& e) {
  std::string out = "(" + std::to_string(static_cast<int>(e.kind)) + " " + Ascii(e.name) + " " +
                    std::to_string(e.integer) + " [" + Ascii(e.text) + "] " +
                    std::to_string(static_cast<int>(e.op));
  for (const auto& arg : e.args) out += " " + Show(*arg);
  return out + ")";
}
std::string Show(const sql::Statement& s) {
  return std::to_string(static_cast<int>(s.kind)) + " " + Ascii(s.table) + " " +
         Ascii(s.count_name) + " " + Ascii(s.set_column) + "=" + std::to_string(s.set_value) + " " +
         (s.where ? Show(*s.where) : "-");
}

// Statement after statement, the reusing parser gives what a fresh parse gives, and reuses the
// last tree exactly when only the values of its literals changed.
TEST(SqlParse, TheReusingParserGivesWhatAFreshParseGives) {
  struct Step {
    const char16_t* text;
    bool reused;
  };
  const Step steps[] = {
      {u"select * from test where id='0100001'", false},
      {u"select * from test where id='0100007'", true},
      {u"select * from test where id='1200042'", true},
      {u"select * from test where id='120004'", false},  // a shorter text
      {u"select * from test where id='120005'", true},
      {u"select * from test where id<'120005'", false},  // a change outside the literal
      {u"select * from test where id<'1\"0005'", true},  // the other kind of quote is a character
      {u"select * from test where id<'12''05'", false},  // its own quote ends or doubles it
      {u"select * from test where id<'12''06'", false},  // a doubled literal is kept as written
      {u"select * from test where id<'12''06'", true},
      {u"select * from t where a='x' or b=\"'\" and c='zz'", false},
      {u"select * from t where a='q' or b=\"y\" and c='ee'", true},   // three literals at once
      {u"select * from t where a='q' or b=\"y\" and c=", false},      // a failure ...
      {u"select * from t where a='q' or b=\"y\" and c='ee'", false},  // ... leaves nothing to reuse
      {u"select * from t where a='' or b=\"\" and c='eeee'", false},  // the literals' lengths
      {u"select * from test where id='0100001' and reserved<2", false},
      {u"select * from test where id='0100002' and reserved<3", false},  // and after the last
      {u"update test set reserved=3 where id='0100001'", false},
      {u"update test set reserved=4 where id='0100001'", false},  // a number is no text literal
      {u"select count(*) as n from test where left(id,2)='01' or left(id,2)='02'", false},
      {u"select count(*) as n from test where left(id,2)='11' or left(id,2)='12'", true},
  };
  sql::ReusingParser parser;
  for (const Step& step : steps) {
    const int64_t reuses = parser.reuses();
    auto fresh = sql::Parse(step.text);
    auto got = parser.Parse(step.text);
    const std::string text = Ascii(step.text);
    ASSERT_EQ(static_cast<bool>(got), static_cast<bool>(fresh)) << text;
    if (fresh) {
      EXPECT_EQ(Show(**got), Show(*fresh)) << text;
    }
    EXPECT_EQ(parser.reuses() - reuses, step.reused ? 1 : 0) << text;
  }
}

TEST(SqlParse, RejectsMalformedStatements) {
  for (const char16_t* text : {
           u"",
           u"select",
           u"select * from",
           u"select * test",
           u"select a from t",
           u"select * from t where",
           u"select * from t where (a=1",
           u"select * from t where a=1)",
           u"select * from t where x='open",
           u"update t set r=",
           u"update t set r='x'",
           u"update t set r=1.5",
           u"delete from t",
           u"select * from t where f(x)=1",
           u"select * from t where a==1",
           u"select * from t where a=99999999999999999999",
           u"select * from where",
           u"select * from t; select * from t",
       }) {
    auto s = sql::Parse(text);
    ASSERT_FALSE(s) << "accepted: "
                    << std::string(text, text + std::char_traits<char16_t>::length(text)).size();
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
    for (size_t i = 0; i < sel->size(); ++i) {
      ids.push_back(std::get<std::u16string>(*db_->ReadValue(*sel->table, sel->row(i), 0)));
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
  for (const char16_t* text :
       {u"update test set reserved=32768", u"update test set reserved=-32769",
        u"update test set id=1", u"update test set nosuch=1", u"update test set timu=1",
        u"update nosuch set reserved=1", u"update test set reserved=1 where nosuch=1"}) {
    EXPECT_EQ(Update(text), -1) << "accepted";
  }
  EXPECT_EQ(file_->bytes(), before);
}

// A file whose bytes the test replaces behind the engine's back, as another program would, and
// which then reports the change as the disk file does.
class SharedFile : public jet::File {
 public:
  explicit SharedFile(std::string bytes) : bytes_(std::move(bytes)) {}
  base::Result<void> ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
    if (offset + out.size() > bytes_.size()) {
      return base::MakeError(ErrorCode::kIo, "read past the end");
    }
    std::copy_n(bytes_.data() + offset, out.size(), out.data());
    return base::Ok();
  }
  base::Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) override {
    std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<ptrdiff_t>(offset));
    return base::Ok();
  }
  base::Result<void> Sync() override { return base::Ok(); }
  uint64_t Size() const override { return bytes_.size(); }
  bool writable() const override { return true; }
  base::Result<bool> Refresh() override { return std::exchange(changed_, false); }

  void ReplacedByAnotherProgram(std::string bytes) {
    bytes_ = std::move(bytes);
    changed_ = true;
  }

 private:
  std::string bytes_;
  bool changed_ = false;
};

// A table whose `key` column repeats texts in different case and holds nulls: rows 0 to 3 are
// "K7", "k7", null and "K7 " (a trailing space), then `extra` rows "R0", "R1", ...
std::string KeyedFile(int extra, const char16_t* first = u"K7") {
  jet::WriterTable t;
  t.name = "t";
  t.columns = {{"key", jet::ColumnType::kText, 20}, {"n", jet::ColumnType::kInt16}};
  t.rows.push_back({std::u16string(first), int16_t{0}});
  t.rows.push_back({std::u16string(u"k7"), int16_t{1}});
  t.rows.push_back({std::monostate{}, int16_t{2}});
  t.rows.push_back({std::u16string(u"K7 "), int16_t{3}});
  for (int i = 0; i < extra; ++i) {
    const std::string key = "R" + std::to_string(i);
    t.rows.push_back({std::u16string(key.begin(), key.end()), int16_t(4 + i)});
  }
  auto bytes = jet::WriteDatabase({t}, {});
  EXPECT_TRUE(bytes) << bytes.error().message;
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::vector<int> Numbers(jet::Database& db, const std::u16string& text) {
  std::vector<int> out;
  auto s = sql::Parse(text);
  EXPECT_TRUE(s);
  auto sel = sql::Select(db, *s);
  EXPECT_TRUE(sel) << sel.error().message;
  if (!sel) return out;
  for (size_t i = 0; i < sel->size(); ++i) {
    out.push_back(std::get<int16_t>(*db.ReadValue(*sel->table, sel->row(i), 1)));
  }
  return out;
}

// An equality on a text column is answered from the engine's map of that column once the file
// is at rest; the answer is the scan's: every row with that text without regard to case, in
// physical order, nulls never, and nothing for a text that is not there.
TEST(SqlLookup, ATextLookupFindsWhatAScanFinds) {
  auto db = jet::Database::Open(std::make_unique<SharedFile>(KeyedFile(400)));
  ASSERT_TRUE(db);
  jet::Database& d = **db;
  for (int round = 0; round < 2; ++round) {  // the first builds the map, the second uses it
    EXPECT_EQ(Numbers(d, u"select * from t where key='K7'"), (std::vector<int>{0, 1}));
    EXPECT_EQ(Numbers(d, u"select * from t where 'k7'=key"), (std::vector<int>{0, 1}));
    EXPECT_EQ(Numbers(d, u"select * from t where key='K7 '"), (std::vector<int>{3}));
    EXPECT_EQ(Numbers(d, u"select * from t where key='r399'"), (std::vector<int>{403}));
    EXPECT_EQ(Numbers(d, u"select * from t where key='nothing'"), (std::vector<int>{}));
    EXPECT_EQ(Numbers(d, u"select * from t where key=''"), (std::vector<int>{}));
  }
  for (int i = 0; i < 400; i += 37) {
    const std::string key = "R" + std::to_string(i);
    const std::u16string literal(key.begin(), key.end());
    EXPECT_EQ(Numbers(d, u"select * from t where key='" + literal + u"'"),
              Numbers(d, u"select * from t where key='" + literal + u"' or 1=0"));
  }
  auto table = d.ReadTable(u"t");
  ASSERT_TRUE(table);
  auto found = d.RowsWithText(*table, 0, u"k7");
  ASSERT_TRUE(found && *found);
  EXPECT_EQ((*found)->size(), 2u) << "at rest, the map answers";
  EXPECT_FALSE(d.RowsWithText(*table, 1, u"0")) << "only text columns have maps";
}

// Another program rewrites the file: the next lookup reads the file as it is now, not the map
// built from what was there before. In-place updates of our own keep the map right.
TEST(SqlLookup, ALookupSeesWhatAnotherProgramWrote) {
  auto* file = new SharedFile(KeyedFile(50));
  auto db = jet::Database::Open(std::unique_ptr<jet::File>(file));
  ASSERT_TRUE(db);
  jet::Database& d = **db;
  EXPECT_EQ(Numbers(d, u"select * from t where key='R10'"), (std::vector<int>{14}));
  EXPECT_EQ(Numbers(d, u"select * from t where key='R10'"), (std::vector<int>{14}));
  auto update = sql::Parse(u"update t set n=99 where key='R10'");
  ASSERT_TRUE(update);
  EXPECT_EQ(*sql::Update(d, *update), 1);
  EXPECT_EQ(Numbers(d, u"select * from t where key='R10'"), (std::vector<int>{99}));

  // The same table with its first key changed and ten rows fewer.
  file->ReplacedByAnotherProgram(KeyedFile(40, u"R10"));
  EXPECT_EQ(Numbers(d, u"select * from t where key='R10'"), (std::vector<int>{0, 14}));
  EXPECT_EQ(Numbers(d, u"select * from t where key='R45'"), (std::vector<int>{}));
  EXPECT_EQ(Numbers(d, u"select * from t where key='K7'"), (std::vector<int>{1}));
}

// The rows a whole-table condition found are found again from memory while the file rests;
// what this connection updates and what another program writes (even a table laid out anew)
// count from the next statement on.
TEST(SqlRemembered, AConditionsRowsFollowUpdatesAndOtherPrograms) {
  auto* file = new SharedFile(KeyedFile(50));
  auto db = jet::Database::Open(std::unique_ptr<jet::File>(file));
  ASSERT_TRUE(db);
  jet::Database& d = **db;
  auto count = [&](const std::u16string& where) -> int64_t {
    auto s = sql::Parse(u"select count(*) from t where " + where);
    EXPECT_TRUE(s);
    auto n = sql::Count(d, *s);
    EXPECT_TRUE(n) << n.error().message;
    return n ? *n : -1;
  };
  const std::u16string high = u"n>=50 and not key='R47'";
  for (int round = 0; round < 2; ++round) {  // the first scans, the second remembers
    EXPECT_EQ(Numbers(d, u"select * from t where " + high), (std::vector<int>{50, 52, 53}));
    EXPECT_EQ(count(high), 3);
    EXPECT_EQ(count(u"n<2 or key='R0'"), 3);
    // Conditions that differ only in a literal are different conditions.
    EXPECT_EQ(count(u"n>=52"), 2);
    EXPECT_EQ(count(u"n>=53"), 1);
    EXPECT_EQ(count(u"key='R1' or key='R2'"), 2);
    EXPECT_EQ(count(u"key='R1' or key='k7'"), 3);
  }
  // An update in place: the same condition now selects the changed row too.
  auto update = sql::Parse(u"update t set n=99 where key='R0' or key='R1'");
  ASSERT_TRUE(update);
  ASSERT_EQ(*sql::Update(d, *update), 2);
  EXPECT_EQ(Numbers(d, u"select * from t where " + high), (std::vector<int>{99, 99, 50, 52, 53}));
  EXPECT_EQ(count(high), 5);
  EXPECT_EQ(count(u"n<2 or key='R0'"), 3) << "R0 is still R0";

  // Another program writes the file anew, with ten rows fewer.
  file->ReplacedByAnotherProgram(KeyedFile(40));
  EXPECT_EQ(Numbers(d, u"select * from t where " + high), (std::vector<int>{}));
  EXPECT_EQ(count(u"n>=40"), 4);

  // And then with another layout of the table: a column before n.
  jet::WriterTable t;
  t.name = "t";
  t.columns = {{"key", jet::ColumnType::kText, 20},
               {"m", jet::ColumnType::kInt32},
               {"n", jet::ColumnType::kInt16}};
  for (int i = 0; i < 30; ++i) {
    t.rows.push_back({std::u16string(u"S"), int32_t{1000000}, int16_t(i * 3)});
  }
  auto bytes = jet::WriteDatabase({t}, {});
  ASSERT_TRUE(bytes);
  file->ReplacedByAnotherProgram(std::string(bytes->begin(), bytes->end()));
  EXPECT_EQ(count(u"n>=40"), 16);
  EXPECT_EQ(count(u"n>=40"), 16);
}

// A selection keeps its rows as they were when it was made, while the file rests (its rows lie
// in the engine's cached pages, which an update replaces) and after another program rewrote it.
TEST(SqlSelection, KeepsItsRowsAsTheyWereWhenMade) {
  auto* file = new SharedFile(KeyedFile(50));
  auto db = jet::Database::Open(std::unique_ptr<jet::File>(file));
  ASSERT_TRUE(db);
  jet::Database& d = **db;
  auto select = sql::Parse(u"select * from t where n>=40");
  ASSERT_TRUE(select);
  auto numbers = [&](const sql::Selection& s) {
    std::vector<int> out;
    for (size_t i = 0; i < s.size(); ++i) {
      out.push_back(std::get<int16_t>(*d.ReadValue(*s.table, s.row(i), 1)));
    }
    return out;
  };
  auto before = sql::Select(d, *select);
  ASSERT_TRUE(before);
  const std::vector<int> made = numbers(*before);
  ASSERT_EQ(made.size(), 14u);
  auto update = sql::Parse(u"update t set n=99 where n>=40");
  ASSERT_TRUE(update);
  ASSERT_EQ(*sql::Update(d, *update), 14);
  auto after = sql::Select(d, *select);
  ASSERT_TRUE(after);
  EXPECT_EQ(numbers(*after), std::vector<int>(14, 99));
  EXPECT_EQ(numbers(*before), made);
  file->ReplacedByAnotherProgram(KeyedFile(0));
  EXPECT_EQ(Numbers(d, u"select * from t where n>=0"), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(numbers(*after), std::vector<int>(14, 99));
  EXPECT_EQ(numbers(*before), made);
}

}  // namespace
