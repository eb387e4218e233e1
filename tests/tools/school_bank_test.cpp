// A driving school's own bank, made the way assets/bank/README.md tells a school to make it:
// local questions written into 18.txt, a share for category 18 in the class column of
// categories.tsv, `examora-bank check` and `build`, and the built file handed to the trainer.
// The local questions must then reach that class's papers and its progress line, and no other
// class's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "bank/database.h"
#include "exam/context.h"
#include "exam/paper_builder.h"
#include "exam/progress.h"
#include "platform/fake/fake_host.h"
#include "support/process.h"
#include "text/gbk.h"
#include "ui/windows.h"

namespace {

using testing_support::RunCommand;
using testing_support::ShellQuote;
using testing_support::TempDir;

const std::string kSources = std::string(EXAMORA_SOURCE_DIR) + "/assets/bank";
const std::string kTool = EXAMORA_BANK_BUILDER;
constexpr int kLocalQuestions = 12;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The school's 18.txt: a dozen local questions (tests/data/school/18.txt).
std::string LocalQuestions() {
  return ReadText(std::string(EXAMORA_SOURCE_DIR) + "/tests/data/school/18.txt");
}

// categories.tsv with category 18 given its question count as TESTNUM and 5 of the 100
// places of C1C2C3C4, taken from category 01 (the shares of a class add up to 100).
std::string WithLocalShare(const std::string& tsv) {
  std::istringstream in(tsv);
  std::string line, out;
  while (std::getline(in, line)) {
    if (line.rfind("18\t", 0) == 0) {
      line = "18\t地方题库\t" + std::to_string(kLocalQuestions) + "\t5\t0\t0\t0\t0";
    }
    if (line.rfind("01\t", 0) == 0) {
      const size_t at = line.find("\t30\t");
      if (at != std::string::npos) line.replace(at, 4, "\t25\t");
    }
    out += line + "\n";
  }
  return out;
}

class SchoolBank : public ::testing::Test {
 protected:
  // The school's bank is built once; every test gets its own copy of the file.
  static void SetUpTestSuite() {
    built_dir_ = new TempDir;
    const auto sources = built_dir_->path() / "bank";
    std::filesystem::copy(kSources, sources, std::filesystem::copy_options::recursive);
    WriteText(sources / "18.txt", LocalQuestions());
    WriteText(sources / "categories.tsv", WithLocalShare(ReadText(sources / "categories.tsv")));
    int status = -1;
    check_output_ =
        RunCommand(ShellQuote(kTool) + " check " + ShellQuote(sources.string()) + " 2>&1", &status);
    if (status != 0) return;
    const std::string out = (built_dir_->path() / "exam.sys").string();
    check_output_ += RunCommand(ShellQuote(kTool) + " build " + ShellQuote(sources.string()) + " " +
                                    ShellQuote(out) + " 2>&1",
                                &status);
    if (status == 0) built_ = out;
  }
  static void TearDownTestSuite() {
    delete built_dir_;
    built_dir_ = nullptr;
  }

  void SetUp() override {
    ASSERT_FALSE(built_.empty()) << check_output_;
    path_ = (dir_.path() / "exam.sys").string();
    std::filesystem::copy_file(built_, path_);
    ASSERT_TRUE(db_.Open(path_, "", "rq7m2kx9tv4wz8")) << db_.last_error().message;
  }

  static inline TempDir* built_dir_ = nullptr;
  static inline std::string built_;
  static inline std::string check_output_;

  // The number of questions in the built file whose category is one of the class's.
  int Count(const std::string& where) {
    const int32_t set = db_.OpenTable("select * from test where " + where);
    int n = 0;
    for (; !db_.IsEOF(set); db_.MoveNext(set)) ++n;
    db_.CloseTable(set);
    return n;
  }

  TempDir dir_;
  std::string path_;
  bank::Database db_;
  platform::FakeHost host_;
  ui::MainWindow main_;
  ui::ScoreWindow score_;
  exam::Context ctx_{main_, score_, db_, host_, exam::Pictures{"P", "R", "W"}};
};

TEST_F(SchoolBank, LocalQuestionsReachThePapersOfTheirClass) {
  ASSERT_EQ(Count("left(id,2)='18'"), kLocalQuestions);
  ASSERT_EQ(main_.组合框1.selected_text(), "C1C2C3C4");
  std::set<std::string> drawn;
  for (uint32_t seed = 1; seed <= 10; ++seed) {
    host_.tick_count = seed;
    auto built = exam::BuildQuestionSet(ctx_);
    ASSERT_TRUE(built);
    ASSERT_EQ(built.value(), 100);
    for (int32_t i = 1; i <= ctx_.paper.size(); ++i) {
      const std::string& id = ctx_.paper.At(i)->id;
      if (id.rfind("18", 0) == 0) drawn.insert(id);
    }
  }
  // 12 of some 1,400 candidates: about one a paper.
  EXPECT_GE(drawn.size(), 3u);
}

TEST_F(SchoolBank, ProgressLineCountsThemForTheirClassOnly) {
  const int c1 = Count(
      "left(id,2)='01' or left(id,2)='02' or left(id,2)='03' or left(id,2)='04' or "
      "left(id,2)='05' or left(id,2)='06' or left(id,2)='07'");
  ASSERT_TRUE(exam::ShowProgressStatistics(ctx_, "C1C2C3C4"));
  const int total = c1 + kLocalQuestions;
  EXPECT_EQ(main_.及格率标签.caption(),
            text::Utf8ToGbk("共" + std::to_string(total) + "题，已记住0题，尚余" +
                            std::to_string(total) + "题，及格率0%"));
  // A learner of another class never meets them.
  ASSERT_TRUE(exam::ShowProgressStatistics(ctx_, "DEF"));
  const int def = Count(
      "left(id,2)='11' or left(id,2)='12' or left(id,2)='13' or left(id,2)='14' or "
      "left(id,2)='15' or left(id,2)='16' or left(id,2)='17'");
  EXPECT_EQ(main_.及格率标签.caption(),
            text::Utf8ToGbk("共" + std::to_string(def) + "题，已记住0题，尚余" +
                            std::to_string(def) + "题，及格率0%"));
}

TEST_F(SchoolBank, ProgressLivesInTheSchoolsFile) {
  ASSERT_TRUE(db_.ExecuteSql("update test set reserved=2 where left(id,2)='18'"));
  ASSERT_TRUE(exam::ShowProgressStatistics(ctx_, "C1C2C3C4"));
  const std::string line = text::GbkToUtf8(main_.及格率标签.caption());
  EXPECT_NE(line.find("已记住12题"), std::string::npos) << line;
  bank::Database again;
  ASSERT_TRUE(again.Open(path_, "", "rq7m2kx9tv4wz8", true));
  const int32_t set = again.OpenTable("select * from test where reserved=2");
  int n = 0;
  for (; !again.IsEOF(set); again.MoveNext(set)) ++n;
  EXPECT_EQ(n, kLocalQuestions);
}

}  // namespace
