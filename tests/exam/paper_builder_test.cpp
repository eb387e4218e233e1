// Building a paper on banks made with the writer: candidates and the category filter, the
// mastered filter, thinning to 100, the loaded records, the refusals, and the fatal data
// errors of faulty banks.
#include "exam/paper_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "exam/bank_reads.h"
#include "exam_fixture.h"

namespace {

using exam_testing::BankContent;
using exam_testing::ExamRig;
using exam_testing::FourOption;
using exam_testing::G;
using exam_testing::Question;
using exam_testing::StandardConfig;

BankContent Bank(std::vector<Question> questions) {
  return {StandardConfig(), std::move(questions), nullptr};
}

std::vector<Question> Concat(std::vector<Question> a, const std::vector<Question>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CategoryFilter, JoinsTheClassCodesAndKeepsTheLastApostrophe) {
  ExamRig rig(Bank({}));
  auto filter = exam::BuildCategoryFilter(rig.db, "C1C2C3C4");
  ASSERT_TRUE(filter);
  EXPECT_EQ(filter.value(), "left(id,2)='01' or left(id,2)='02'");
  EXPECT_EQ(exam::BuildCategoryFilter(rig.db, "DEF").value(), "left(id,2)='11'");
  EXPECT_EQ(exam::BuildCategoryFilter(rig.db, "").value(), "");
  EXPECT_EQ(exam::BuildCategoryFilter(rig.db, "NOSUCH").value(), "") << "no such column";
  EXPECT_EQ(exam::SqlQuoted("01'x"), "'01''x'");
}

TEST(BuildQuestionSet, TakesAWholeSmallClassInRandomOrder) {
  // 30 of category 01 and 20 of 02 belong to C1C2C3C4; 08 and 11 do not.
  ExamRig rig(Bank(Concat(Concat(FourOption("01", 30), FourOption("02", 20)),
                          Concat(FourOption("08", 5), FourOption("11", 5)))));
  rig.main.第标签.set_caption("7");
  auto n = exam::BuildQuestionSet(rig.ctx);
  ASSERT_TRUE(n);
  EXPECT_EQ(n.value(), 50);
  EXPECT_EQ(rig.ctx.current_index, 1);
  EXPECT_EQ(rig.main.共标签.caption(), "50");
  EXPECT_EQ(rig.main.第标签.caption(), "");
  EXPECT_EQ(rig.main.及格率标签.caption(), "");
  std::vector<std::string> ids = rig.PaperIds();
  std::vector<std::string> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  for (const auto& id : ids) EXPECT_TRUE(id.starts_with("01") || id.starts_with("02")) << id;
  EXPECT_NE(ids, sorted) << "shuffled";
  EXPECT_EQ(rig.host.process_events_calls, 0) << "nothing to thin";
}

TEST(BuildQuestionSet, ThinsALargeClassToExactly100) {
  ExamRig rig(Bank(Concat(FourOption("01", 90), FourOption("02", 60))));
  auto n = exam::BuildQuestionSet(rig.ctx);
  ASSERT_TRUE(n);
  EXPECT_EQ(n.value(), 100);
  EXPECT_EQ(rig.main.共标签.caption(), "100");
  const std::vector<std::string> ids = rig.PaperIds();
  std::set<std::string> distinct(ids.begin(), ids.end());
  EXPECT_EQ(distinct.size(), 100u);
  EXPECT_EQ(rig.host.process_events_calls, 50) << "events run after each of the 50 removals";
}

TEST(BuildQuestionSet, FixedSeedGivesAnExactPaper) {
  ExamRig rig(Bank(FourOption("01", 4)));
  rig.host.tick_count = 1;  // first build of the run: seed 1
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  EXPECT_EQ(rig.PaperIds(), (std::vector<std::string>{"0100002", "0100004", "0100001", "0100003"}));
}

// The documented draws written out again: state * 214013 + 2531011 mod 2^32, output bits 16 to
// 30, a draw from 1 to k is 1 + output mod k.
class DocumentedDraws {
 public:
  explicit DocumentedDraws(uint32_t seed) : state_(seed) {}
  size_t From1To(size_t k) {
    state_ = static_cast<uint32_t>((uint64_t{state_} * 214013u + 2531011u) % (uint64_t{1} << 32));
    const uint32_t output = (state_ >> 16) & 0x7fffu;
    return 1 + output % k;
  }

 private:
  uint32_t state_;
};

TEST(BuildQuestionSet, FixedSeedThinsAndShufflesALargeClassToAnExactPaper) {
  ExamRig rig(
      Bank(Concat(Concat(FourOption("01", 80), FourOption("08", 7)), FourOption("02", 57))));
  rig.host.tick_count = 4242;  // the first build of the run seeds with the tick count itself
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));

  // Candidates in bank order (08 is not of the class), thinned, then shuffled.
  std::vector<std::string> ids;
  for (const auto& q : Concat(FourOption("01", 80), FourOption("02", 57))) ids.push_back(q.id);
  DocumentedDraws draws(4242);
  while (ids.size() > 100) {
    ids.erase(ids.begin() + static_cast<ptrdiff_t>(draws.From1To(ids.size()) - 1));
  }
  for (size_t i = ids.size(); i >= 1; --i) {
    const size_t r = draws.From1To(i);
    const std::string drawn = ids[r - 1];
    ids.erase(ids.begin() + static_cast<ptrdiff_t>(r - 1));
    ids.push_back(drawn);
  }
  EXPECT_EQ(rig.PaperIds(), ids);
  EXPECT_EQ(rig.ctx.paper.At(1)->question, G("1.1.1.1  题" + ids[0]));
}

// Thinning lets events run, and a command run by them may write to the bank: here one that
// marks every question mastered, while the candidate statement (the filter is ticked) left the
// mastered ones out. The paper is still drawn from the candidates as the statement found them,
// the same paper as without the write.
TEST(BuildQuestionSet, AWriteRunByEventsWhileThinningLeavesTheCandidatesAsFound) {
  const BankContent bank = Bank(Concat(FourOption("01", 90), FourOption("02", 60)));
  ExamRig quiet(bank);
  ExamRig written(bank);
  quiet.host.tick_count = written.host.tick_count = 77;
  written.host.AtEvents(
      10, [&written] { EXPECT_TRUE(written.db.ExecuteSql("update test set reserved=2")); });
  ASSERT_TRUE(exam::BuildQuestionSet(quiet.ctx));
  ASSERT_TRUE(exam::BuildQuestionSet(written.ctx));
  EXPECT_EQ(written.ctx.paper.size(), 100);
  EXPECT_EQ(written.PaperIds(), quiet.PaperIds());
  EXPECT_EQ(written.ctx.paper.At(1)->reserved, 2) << "each question is loaded as it is now";
}

TEST(BuildQuestionSet, BuildsInTheSameMillisecondDiffer) {
  ExamRig rig(Bank(FourOption("01", 40)));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  const auto first = rig.PaperIds();
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  EXPECT_NE(rig.PaperIds(), first);
}

TEST(BuildQuestionSet, LeavesMasteredQuestionsOutOnlyWhenTheFilterIsTicked) {
  auto questions = FourOption("01", 10);
  for (int i = 0; i < 10; ++i)
    questions[static_cast<size_t>(i)].reserved = static_cast<int16_t>(i % 4);
  ExamRig rig(Bank(questions));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  EXPECT_EQ(rig.ctx.paper.size(), 6);  // reserved 0, 1, 0, 1, 0, 1
  for (int32_t i = 1; i <= rig.ctx.paper.size(); ++i) EXPECT_LT(rig.ctx.paper.At(i)->reserved, 2);
  rig.main.启用过滤选择框.set_ticked(false);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  EXPECT_EQ(rig.ctx.paper.size(), 10);
}

TEST(BuildQuestionSet, AllMasteredGivesAnEmptyPaperAndEmptyCaptions) {
  auto questions = FourOption("01", 5);
  for (auto& q : questions) q.reserved = 2;
  ExamRig rig(Bank(questions));
  rig.main.共标签.set_caption("9");
  rig.main.及格率标签.set_caption("old");
  auto n = exam::BuildQuestionSet(rig.ctx);
  ASSERT_TRUE(n);
  EXPECT_EQ(n.value(), 0);
  EXPECT_TRUE(rig.ctx.paper.empty());
  EXPECT_EQ(rig.ctx.current_index, 0);
  EXPECT_EQ(rig.main.共标签.caption(), "");
  EXPECT_EQ(rig.main.第标签.caption(), "");
  EXPECT_EQ(rig.main.及格率标签.caption(), "");
}

TEST(BuildQuestionSet, RefusesWithoutASelectedClassOrACategoryOfIt) {
  ExamRig rig(Bank(FourOption("01", 5)));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  rig.main.组合框1.set_selection(-1);
  auto none = exam::BuildQuestionSet(rig.ctx);
  ASSERT_TRUE(none);
  EXPECT_EQ(none.value(), 0);
  EXPECT_TRUE(rig.ctx.paper.empty()) << "the old paper is dropped as by any build";
  EXPECT_EQ(rig.ctx.current_index, 0);
  EXPECT_EQ(rig.db.open_record_sets(), 0);

  BankContent no_rows{{{"01", 0, 0, 0, 0, 0}}, FourOption("01", 5), nullptr};
  ExamRig lonely(no_rows);
  auto n = exam::BuildQuestionSet(lonely.ctx);
  ASSERT_TRUE(n);
  EXPECT_EQ(n.value(), 0);
  EXPECT_EQ(lonely.main.共标签.caption(), "");
}

TEST(BuildQuestionSet, LoadsEveryFieldOfTheRecord) {
  Question four = FourOption("01", 1)[0];
  four.name = "1.2.3.4 ";
  four.text = "前半\0后半";  // cut at the zero byte (the literal stops there anyway)
  four.text = std::string("前半") + '\0' + "后半";
  four.pic = std::string("\x89PNG\0\x01\x02", 7);
  four.reserved = 1;
  four.right_key = "C";
  Question two;
  two.id = "0100002";
  two.name = "1.1.1.2";
  two.text = "判断";
  ExamRig rig(Bank({four, two}));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  ASSERT_EQ(rig.ctx.paper.size(), 2);
  const exam::QuestionRecord* r4 = nullptr;
  const exam::QuestionRecord* r2 = nullptr;
  for (int32_t i = 1; i <= 2; ++i) {
    auto* r = rig.ctx.paper.At(i);
    (r->id == "0100001" ? r4 : r2) = r;
  }
  ASSERT_TRUE(r4 && r2);
  EXPECT_EQ(r4->question, G("1.2.3.4  前半")) << "a name ending in a blank gives two blanks";
  EXPECT_EQ(r4->reserved, 1);
  EXPECT_EQ(r4->a, G("甲0100001"));
  EXPECT_EQ(r4->b, G("乙0100001"));
  EXPECT_EQ(r4->c, G("丙0100001"));
  EXPECT_EQ(r4->d, G("丁0100001"));
  EXPECT_EQ(r4->pic, four.pic) << "deciphered, every byte kept";
  EXPECT_EQ(r4->right_key, "C");
  EXPECT_EQ(r4->answer, "");
  EXPECT_EQ(r2->question, G("1.1.1.2 判断"));
  EXPECT_EQ(r2->c, "") << "null reads as the empty text";
  EXPECT_EQ(r2->d, "");
  EXPECT_EQ(r2->pic, "") << "no picture";
  EXPECT_EQ(rig.db.open_record_sets(), 0);
}

TEST(BuildQuestionSet, SecondBuildStartsAFreshPaper) {
  ExamRig rig(Bank(FourOption("01", 8)));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  rig.ctx.paper.At(3)->answer = "B";
  rig.ctx.current_index = 5;
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  EXPECT_EQ(rig.ctx.current_index, 1);
  for (int32_t i = 1; i <= rig.ctx.paper.size(); ++i) EXPECT_EQ(rig.ctx.paper.At(i)->answer, "");
}

TEST(BuildQuestionSet, SharedIdEntersTwiceAndLoadsTheFirstRow) {
  auto questions = FourOption("01", 3);
  Question twin = questions[1];
  twin.text = "另一行";
  questions.push_back(twin);
  ExamRig rig(Bank(questions));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  ASSERT_EQ(rig.ctx.paper.size(), 4);
  int twins = 0;
  for (int32_t i = 1; i <= 4; ++i) {
    if (rig.ctx.paper.At(i)->id == "0100002") {
      ++twins;
      EXPECT_EQ(rig.ctx.paper.At(i)->question, G("1.1.1.1  题0100002"));
    }
  }
  EXPECT_EQ(twins, 2);
}

TEST(BuildQuestionSet, AnApostropheInAnIdCannotBreakTheStatement) {
  auto questions = FourOption("01", 2);
  questions[0].id = "01'0001";
  questions[1].id = "01' or '1'='1";
  for (auto& q : questions) q.text = "题" + q.id;
  ExamRig rig(Bank(questions));
  auto n = exam::BuildQuestionSet(rig.ctx);
  ASSERT_TRUE(n) << n.error().fault_code;
  ASSERT_EQ(n.value(), 2);
  const std::vector<std::string> paper = rig.PaperIds();
  std::set<std::string> ids(paper.begin(), paper.end());
  EXPECT_EQ(ids, (std::set<std::string>{"01'0001", "01' or '1'='1"}));
  for (int32_t i = 1; i <= 2; ++i) {
    const auto* r = rig.ctx.paper.At(i);
    EXPECT_EQ(r->question, G("1.1.1.1  题" + r->id)) << "each loads its own row";
  }
}

// Faulty banks: the first column of the wrong kind stops the build with its code.
struct FaultCase {
  const char* what;
  std::function<void(jet::WriterTable&, jet::WriterTable&)> tamper;
  int32_t code;
};

void Retype(jet::WriterTable& table, const std::string& column, jet::ColumnType type,
            jet::CellValue value) {
  for (size_t i = 0; i < table.columns.size(); ++i) {
    if (table.columns[i].name != column) continue;
    table.columns[i].type = type;
    for (auto& row : table.rows) row[i] = value;
  }
}

TEST(BuildQuestionSet, AFloatCounterIsTruncatedTowardZero) {
  BankContent content = Bank(FourOption("01", 3));
  content.tamper = [](auto&, auto& test) {
    Retype(test, "reserved", jet::ColumnType::kDouble, 1.75);
  };
  ExamRig rig(content);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  ASSERT_EQ(rig.ctx.paper.size(), 3) << "1.75 is below 2: not mastered";
  for (int32_t i = 1; i <= 3; ++i) EXPECT_EQ(rig.ctx.paper.At(i)->reserved, 1);
}

TEST(BuildQuestionSet, ColumnsOfTheWrongKindAreFatal) {
  using jet::ColumnType;
  const FaultCase cases[] = {
      {"reserved as text",
       [](auto&, auto& test) { Retype(test, "reserved", ColumnType::kText, std::u16string(u"1")); },
       2},
      {"reserved null",
       [](auto&, auto& test) { Retype(test, "reserved", ColumnType::kInt16, std::monostate{}); },
       2},
      {"option a a number",
       [](auto&, auto& test) { Retype(test, "a", ColumnType::kInt32, int32_t{7}); }, 5},
      {"timu as text",
       [](auto&, auto& test) { Retype(test, "timu", ColumnType::kText, std::u16string(u"x")); }, 5},
      {"pic as text",
       [](auto&, auto& test) { Retype(test, "pic", ColumnType::kText, std::u16string(u"x")); }, 5},
      {"NUMBERID a number",
       [](auto& config, auto&) { Retype(config, "NUMBERID", ColumnType::kDouble, 1.0); }, 5},
  };
  for (const FaultCase& c : cases) {
    BankContent content = Bank(FourOption("01", 3));
    content.tamper = c.tamper;
    ExamRig rig(content);
    rig.main.启用过滤选择框.set_ticked(false);  // "reserved<2" needs a number column
    auto n = exam::BuildQuestionSet(rig.ctx);
    ASSERT_FALSE(n) << c.what << " built " << n.value();
    EXPECT_EQ(n.error().code, base::ErrorCode::kDataFault) << c.what;
    EXPECT_EQ(n.error().fault_code, c.code) << c.what;
    EXPECT_EQ(rig.db.open_record_sets(), 0) << c.what;
  }
}

}  // namespace
