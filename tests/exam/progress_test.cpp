// The progress line: totals over the whole class in the bank, truncated rate, the filter box
// not mattering, the refusals and the fatal errors.
#include "exam/progress.h"

#include <gtest/gtest.h>

#include "exam/paper_builder.h"
#include "exam_fixture.h"

namespace {

using exam_testing::BankContent;
using exam_testing::ExamRig;
using exam_testing::FourOption;
using exam_testing::G;
using exam_testing::Question;
using exam_testing::StandardConfig;

std::vector<Question> ClassQuestions(int in_01, int in_02, int mastered) {
  auto questions = FourOption("01", in_01);
  auto more = FourOption("02", in_02);
  questions.insert(questions.end(), more.begin(), more.end());
  for (int i = 0; i < mastered; ++i) {
    questions[static_cast<size_t>(i * 7 % (in_01 + in_02))].reserved =
        static_cast<int16_t>(2 + i % 3);
  }
  // Not of the class: never counted.
  auto other = FourOption("11", 15);
  for (auto& q : other) q.reserved = 5;
  questions.insert(questions.end(), other.begin(), other.end());
  return questions;
}

TEST(ShowProgressStatistics, CountsTheWholeClassOfTheBank) {
  ExamRig rig({StandardConfig(), ClassQuestions(700, 619, 0), nullptr});
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, "C1C2C3C4"));
  EXPECT_EQ(rig.main.及格率标签.caption(), G("共1319题，已记住0题，尚余1319题，及格率0%"));
  EXPECT_EQ(rig.db.open_record_sets(), 0);
}

TEST(ShowProgressStatistics, TruncatesTheRateAndIgnoresTheFilterBox) {
  ExamRig rig({StandardConfig(), ClassQuestions(1000, 311, 131), nullptr});
  const std::string expected = G("共1311题，已记住131题，尚余1180题，及格率9%");
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, "C1C2C3C4"));
  EXPECT_EQ(rig.main.及格率标签.caption(), expected) << "9.99 shows as 9";
  rig.main.及格率标签.set_caption("");
  rig.main.启用过滤选择框.set_ticked(false);
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, "C1C2C3C4"));
  EXPECT_EQ(rig.main.及格率标签.caption(), expected);
}

TEST(ShowProgressStatistics, EmptyAndFullyMasteredClasses) {
  auto questions = FourOption("11", 4);
  for (auto& q : questions) q.reserved = 2;
  ExamRig rig({StandardConfig(), questions, nullptr});
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, "A2B2"));  // 01 and 02: no rows
  EXPECT_EQ(rig.main.及格率标签.caption(), G("共0题，已记住0题，尚余0题，及格率0%"));
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, "DEF"));
  EXPECT_EQ(rig.main.及格率标签.caption(), G("共4题，已记住4题，尚余0题，及格率100%"));
}

TEST(ShowProgressStatistics, WithoutAClassTheLineStaysAsItIs) {
  ExamRig rig({{{"01", 0, 0, 0, 0, 0}}, FourOption("01", 3), nullptr});
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, ""));
  EXPECT_EQ(rig.main.及格率标签.caption(), "");
  ASSERT_TRUE(exam::ShowProgressStatistics(rig.ctx, "C1C2C3C4")) << "no category";
  EXPECT_EQ(rig.main.及格率标签.caption(), "");
  EXPECT_EQ(rig.db.open_record_sets(), 0);
}

TEST(ShowProgressStatistics, CategoryCodeOfTheWrongKindIsFatal) {
  BankContent content{StandardConfig(), FourOption("01", 3), nullptr};
  content.tamper = [](jet::WriterTable& config, jet::WriterTable&) {
    config.columns[0].type = jet::ColumnType::kDouble;
    for (auto& row : config.rows) row[0] = 1.0;
  };
  ExamRig rig(content);
  base::Result<void> status = exam::ShowProgressStatistics(rig.ctx, "C1C2C3C4");
  ASSERT_FALSE(status);
  EXPECT_EQ(status.error().code, base::ErrorCode::kDataFault);
  EXPECT_EQ(status.error().fault_code, 5);
  EXPECT_EQ(rig.main.及格率标签.caption(), "");
}

}  // namespace
