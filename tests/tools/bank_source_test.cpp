// The bank source format and the checks the builder makes before it builds anything.
#include <gtest/gtest.h>

#include <fstream>

#include "source.h"
#include "support/process.h"

namespace {

using banksrc::Fault;
using banksrc::Question;

std::vector<Fault> Faults(const std::string& text, const std::string& category = "01",
                          std::vector<Question>* out = nullptr) {
  std::vector<Fault> faults;
  auto qs = banksrc::ParseQuestions(text, "01.txt", category, faults);
  banksrc::CheckQuestions(qs, {}, faults);
  if (out) *out = qs;
  return faults;
}

bool Mentions(const std::vector<Fault>& faults, const std::string& what, int line = -1) {
  for (const auto& f : faults) {
    if (f.message.find(what) != std::string::npos && (line < 0 || f.line == line)) return true;
  }
  return false;
}

const char* kGood =
    "# 第一章\n"
    "[0100001]\n"
    "name: 1.1.1.1\n"
    "question: 驾驶人在实习期内驾驶机动车，应当在车身后部粘贴实习标志。\n"
    "A: 正确\n"
    "B: 错误\n"
    "answer: A\n"
    "basis: 机动车驾驶证申领和使用规定 第七十七条\n"
    "\n"
    "[0100002]\n"
    "name: 1.1.1.2\n"
    "question: 机动车驾驶人初次申领驾驶证后的实习期是多长时间？\n"
    "A: 6个月\n"
    "B: 12个月\n"
    "C: 18个月\n"
    "D: 24个月\n"
    "answer: B\n"
    "basis: 机动车驾驶证申领和使用规定 第七十七条\n";

TEST(BankSource, ReadsBothShapes) {
  std::vector<Question> qs;
  auto faults = Faults(kGood, "01", &qs);
  EXPECT_TRUE(faults.empty()) << faults[0].ToString();
  ASSERT_EQ(qs.size(), 2u);
  EXPECT_TRUE(qs[0].true_false());
  EXPECT_EQ(qs[1].options.size(), 4u);
  EXPECT_EQ(qs[1].answer, 'B');
  EXPECT_EQ(qs[1].line, 10);
  EXPECT_EQ(qs[1].name, "1.1.1.2");
}

// Replaces the first occurrence of `from` in the good text.
std::string With(const std::string& from, const std::string& to) {
  std::string s = kGood;
  s.replace(s.find(from), from.size(), to);
  return s;
}

TEST(BankSource, RefusesBadIdsWithTheirLine) {
  EXPECT_TRUE(Mentions(Faults(With("[0100002]", "[0100001]")), "breaks the run", 10));
  EXPECT_TRUE(Mentions(Faults(With("[0100002]", "[0100003]")), "breaks the run", 10));
  EXPECT_TRUE(Mentions(Faults(With("[0100002]", "[010002]")), "not seven digits", 10));
  EXPECT_TRUE(Mentions(Faults(With("[0100002]", "[0200002]")), "does not belong", 10));
  // Same id in two files of the bank.
  std::vector<Fault> faults;
  auto a = banksrc::ParseQuestions(kGood, "01.txt", "01", faults);
  auto b = banksrc::ParseQuestions(kGood, "01-copy.txt", "01", faults);
  a.insert(a.end(), b.begin(), b.end());
  banksrc::CheckQuestions(a, {}, faults);
  EXPECT_TRUE(Mentions(faults, "also used at 01.txt:2"));
}

TEST(BankSource, RefusesBadShapes) {
  EXPECT_TRUE(Mentions(Faults(With("A: 正确", "A: 对")), "正确"));
  EXPECT_TRUE(Mentions(Faults(With("answer: A", "answer: C")), "answered A or B"));
  EXPECT_TRUE(Mentions(Faults(With("D: 24个月\n", "")), "C and D come together"));
  EXPECT_TRUE(Mentions(Faults(With("C: 18个月", "C:")), "option C is empty"));
  EXPECT_TRUE(Mentions(Faults(With("answer: B", "answer: E")), "must be A, B, C or D"));
  EXPECT_TRUE(Mentions(Faults(With("basis: 机动车驾驶证申领和使用规定 第七十七条\n\n", "\n")),
                       "missing field basis"));
  EXPECT_TRUE(Mentions(Faults(With("answer: A", "answer: A\nanswer: B")), "given twice", 8));
  EXPECT_TRUE(Mentions(Faults(With("answer: A", "answr: A")), "unknown field"));
  EXPECT_TRUE(Mentions(Faults(With("C: 18个月", "C: 12个月")), "two options are the same"));
  EXPECT_TRUE(Mentions(Faults(With("name: 1.1.1.2", "name: 1.1.2")), "four numbers"));
}

TEST(BankSource, RefusesTextsThatDoNotFit) {
  // 88 full-width characters: over the three lines once the number is counted.
  std::string long_question(88 * 3, '\0');
  long_question.clear();
  for (int i = 0; i < 88; ++i) long_question += "长";
  EXPECT_TRUE(
      Mentions(Faults(With("机动车驾驶人初次申领驾驶证后的实习期是多长时间？", long_question)),
               "three lines"));
  std::string fits;
  for (int i = 0; i < 80; ++i) fits += "长";
  EXPECT_TRUE(Faults(With("机动车驾驶人初次申领驾驶证后的实习期是多长时间？", fits)).empty());
  // Options: 20 full-width or 40 ASCII characters fit, one more does not.
  EXPECT_TRUE(Faults(With("C: 18个月", "C: " + std::string(40, 'x'))).empty());
  EXPECT_TRUE(
      Mentions(Faults(With("C: 18个月", "C: " + std::string(41, 'x'))), "does not fit its label"));
  EXPECT_TRUE(Mentions(Faults(With("C: 18个月", "C: 😀")), "GBK"));
}

TEST(BankSource, FlagsQuestionsThatAskTheSameThing) {
  const std::string twin = std::string(kGood) +
                           "\n[0100003]\nname: 1.1.1.3\n"
                           "question: 机动车驾驶人初次申领驾驶证后的实习期是多长的时间？\n"
                           "A: 6个月\nB: 12个月\nC: 18个月\nD: 3年\nanswer: B\nbasis: x\n";
  EXPECT_TRUE(Mentions(Faults(twin), "asks the same as 0100002"));
  EXPECT_GT(banksrc::Similarity("这个标志是何含义？", "这个标志是何含义？"), 0.99);
  EXPECT_LT(banksrc::Similarity("夜间会车应当使用近光灯。", "雨天行车应当降低车速。"), 0.3);
}

TEST(BankSource, CategoriesMustAddUpPerClass) {
  std::vector<Fault> faults;
  auto cats = banksrc::ParseCategories(
      "# code\tname\tn\tC1C2C3C4\tA1A3B1\tA2B2\tM\tDEF\n"
      "01\t甲\t3\t60\t100\t100\t100\t0\n"
      "11\t乙\t2\t40\t0\t0\t0\t100\n",
      "categories.tsv", faults);
  EXPECT_TRUE(faults.empty());
  ASSERT_EQ(cats.size(), 2u);
  EXPECT_EQ(cats[1].classes[4], 100);
  banksrc::ParseCategories("01\t甲\t3\t60\t100\t100\t100\t0\n", "categories.tsv", faults);
  EXPECT_TRUE(Mentions(faults, "C1C2C3C4 add up to 60"));
}

TEST(BankSource, TheShippedSourcesAreClean) {
  std::vector<Fault> faults;
  auto bank = banksrc::ReadBank(std::string(EXAMORA_SOURCE_DIR) + "/assets/bank", faults);
  for (const auto& f : faults) ADD_FAILURE() << f.ToString();
  ASSERT_EQ(bank.categories.size(), 18u);
  EXPECT_TRUE(std::is_sorted(bank.questions.begin(), bank.questions.end(),
                             [](const Question& a, const Question& b) { return a.id < b.id; }));
}

}  // namespace
