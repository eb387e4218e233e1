// The mastery counters on disk: write-back across papers, marking a question as mastered (with
// commands run while its text is erased), and clearing every counter.
#include "exam/mastery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <span>
#include <tuple>

#include "exam/answers.h"
#include "exam/display.h"
#include "exam/idle.h"
#include "exam/paper_builder.h"
#include "exam_fixture.h"
#include "support/fault_file.h"

namespace {

using exam_testing::BankContent;
using exam_testing::ExamRig;
using exam_testing::FourOption;
using exam_testing::G;

int32_t PositionOfId(const exam::Context& ctx, const std::string& id) {
  for (int32_t i = 1; i <= ctx.paper.size(); ++i) {
    if (ctx.paper.At(i)->id == id) return i;
  }
  return 0;
}

// Builds a paper and answers `id` with `letter` (empty: leaves it unanswered), then hands in.
void PaperAnswering(ExamRig& rig, const std::string& id, const std::string& letter) {
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  const int32_t at = PositionOfId(rig.ctx, id);
  ASSERT_NE(at, 0) << id << " not in the paper";
  rig.ctx.paper.At(at)->answer = letter;
  exam::HandInPaper(rig.ctx);
}

class Mastery : public ::testing::Test {
 protected:
  // Right keys: 0100001 A, 0100002 B, 0100003 C, 0100004 D, ...
  Mastery() : rig({exam_testing::StandardConfig(), FourOption("01", 20), nullptr}) {}
  ExamRig rig;
};

TEST_F(Mastery, RightAnswersCountUpAndAWrongOneStartsAgain) {
  PaperAnswering(rig, "0100001", "A");
  EXPECT_EQ(rig.Reserved("0100001"), 1);
  PaperAnswering(rig, "0100001", "A");
  EXPECT_EQ(rig.Reserved("0100001"), 2);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  EXPECT_EQ(PositionOfId(rig.ctx, "0100001"), 0) << "mastered: left out of filtered papers";

  PaperAnswering(rig, "0100002", "B");
  PaperAnswering(rig, "0100002", "C");
  EXPECT_EQ(rig.Reserved("0100002"), 0);
}

TEST_F(Mastery, OnlyAnsweredQuestionsOfPapersEndingWithTheFilterChange) {
  PaperAnswering(rig, "0100003", "");
  EXPECT_EQ(rig.Reserved("0100003"), 0);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  rig.ctx.paper.At(PositionOfId(rig.ctx, "0100003"))->answer = "C";
  rig.main.启用过滤选择框.set_ticked(false);
  exam::HandInPaper(rig.ctx);
  EXPECT_EQ(rig.Reserved("0100003"), 0) << "filter off at the end";
}

TEST_F(Mastery, AMasteredQuestionAnsweredAgainGoesToThreeOrBackToZero) {
  PaperAnswering(rig, "0100004", "D");
  PaperAnswering(rig, "0100004", "D");
  ASSERT_EQ(rig.Reserved("0100004"), 2);
  rig.main.启用过滤选择框.set_ticked(false);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  rig.ctx.paper.At(PositionOfId(rig.ctx, "0100004"))->answer = "D";
  rig.main.启用过滤选择框.set_ticked(true);
  exam::HandInPaper(rig.ctx);
  EXPECT_EQ(rig.Reserved("0100004"), 3);

  rig.main.启用过滤选择框.set_ticked(false);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  rig.ctx.paper.At(PositionOfId(rig.ctx, "0100004"))->answer = "A";
  rig.main.启用过滤选择框.set_ticked(true);
  exam::HandInPaper(rig.ctx);
  EXPECT_EQ(rig.Reserved("0100004"), 0);
}

TEST_F(Mastery, WriteBackCountsFromTheValueTheBuildRead) {
  PaperAnswering(rig, "0100005", "A");
  ASSERT_EQ(rig.Reserved("0100005"), 1);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  exam::ClearMasteredRecords(rig.ctx);
  ASSERT_EQ(rig.Reserved("0100005"), 0);
  rig.ctx.paper.At(PositionOfId(rig.ctx, "0100005"))->answer = "A";
  exam::HandInPaper(rig.ctx);
  EXPECT_EQ(rig.Reserved("0100005"), 2);
}

TEST(WriteBackMastery, AnIdWithApostrophesUpdatesOnlyItsOwnRow) {
  auto questions = FourOption("01", 3);
  questions[0].id = "01' or '1'='1";
  ExamRig rig({exam_testing::StandardConfig(), questions, nullptr});
  PaperAnswering(rig, "01' or '1'='1", "A");
  EXPECT_EQ(rig.Reserved("01'' or ''1''=''1"), 1);
  EXPECT_EQ(rig.Reserved("0100002"), 0);
  EXPECT_EQ(rig.Reserved("0100003"), 0);
}

TEST(WriteBackMastery, AnUpdateReachesOnlyTheRowWithExactlyItsId) {
  exam_testing::Question shorter;
  shorter.id = "010000";  // the start of every other id
  std::vector<exam_testing::Question> questions = {shorter};
  for (const auto& q : FourOption("01", 3)) questions.push_back(q);
  questions.push_back(shorter);
  questions.back().id = "01000010";  // 0100001 is its start
  ExamRig rig({exam_testing::StandardConfig(), questions, nullptr});
  PaperAnswering(rig, "0100001", "A");
  EXPECT_EQ(rig.Reserved("0100001"), 1);
  EXPECT_EQ(rig.Reserved("010000"), 0);
  EXPECT_EQ(rig.Reserved("01000010"), 0);
}

TEST(WriteBackMastery, OneFlushForThePaperAndAFailedOneIsNoSuccess) {
  ExamRig rig({exam_testing::StandardConfig(), FourOption("01", 20), nullptr});
  testing_support::FaultFile::Log log;
  ASSERT_TRUE(
      rig.db.OpenFile(testing_support::FaultFile::Over(log, testing_support::ReadBytes(rig.path)),
                      text::Utf16ToUtf8(exam_testing::kPassword)));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  for (int32_t i = 1; i <= rig.ctx.paper.size(); ++i) {
    exam::QuestionRecord& r = *rig.ctx.paper.At(i);
    r.answer = i % 2 == 0 ? r.right_key : "X";
  }
  EXPECT_TRUE(exam::WriteBackMastery(rig.ctx));
  EXPECT_EQ(log.syncs, 1) << "twenty statements, one flush";

  log.fail_syncs = true;
  EXPECT_FALSE(exam::WriteBackMastery(rig.ctx)) << "written but not on disk";
  EXPECT_EQ(log.syncs, 2);
  log.fail_syncs = false;
  log.fail_writes = true;
  EXPECT_FALSE(exam::WriteBackMastery(rig.ctx)) << "statements failed";
  EXPECT_EQ(log.syncs, 3) << "the flush still owed from before is made";
  log.fail_writes = false;

  rig.ctx.paper.Clear();
  EXPECT_TRUE(exam::WriteBackMastery(rig.ctx)) << "an empty paper";
  EXPECT_EQ(log.syncs, 3) << "nothing written, nothing flushed";
}

TEST_F(Mastery, ClearingSetsEveryCounterToZeroAndSaysSo) {
  PaperAnswering(rig, "0100001", "A");
  exam::ClearMasteredRecords(rig.ctx);
  EXPECT_EQ(rig.Reserved("0100001"), 0);
  EXPECT_EQ(rig.main.及格率标签.caption(), G("已经清空过滤记录！"));
}

TEST(ClearMasteredRecords, AFailedUpdateChangesNothingAndSaysSo) {
  auto questions = FourOption("01", 3);
  questions[1].reserved = 2;
  ExamRig rig({exam_testing::StandardConfig(), questions, nullptr}, /*read_only=*/true);
  exam::ClearMasteredRecords(rig.ctx);
  EXPECT_EQ(rig.main.及格率标签.caption(), G("清空过滤记录失败！"));
  EXPECT_EQ(rig.Reserved("0100002"), 2);
}

// --- WriteBackMastery: what a paper leaves behind ---

// Right keys of FourOption: 0100001 A, 0100002 B, 0100003 C, 0100004 D, 0100005 A, 0100006 B.
BankContent CountersBank(std::initializer_list<std::pair<int, int16_t>> reserved) {
  auto questions = FourOption("01", 6);
  for (const auto& [serial, value] : reserved) {
    questions[static_cast<size_t>(serial - 1)].reserved = value;
  }
  return {exam_testing::StandardConfig(), questions, nullptr};
}

void Answer(ExamRig& rig, const std::string& id, const std::string& letter) {
  const int32_t at = PositionOfId(rig.ctx, id);
  ASSERT_NE(at, 0) << id << " not in the paper";
  rig.ctx.paper.At(at)->answer = letter;
}

TEST(WriteBackMastery, AQuestionShownButNotAnsweredKeepsItsCounter) {
  ExamRig rig(CountersBank({{1, 1}, {2, 3}, {3, 1}}));
  // 0100002 is mastered: only an unfiltered paper has it.
  rig.main.启用过滤选择框.set_ticked(false);
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  ASSERT_EQ(rig.ctx.paper.size(), 6);
  for (int32_t i = 1; i <= rig.ctx.paper.size(); ++i) {
    rig.ctx.current_index = i;
    exam::ShowCurrentQuestion(rig.ctx);
  }
  Answer(rig, "0100003", "C");
  Answer(rig, "0100004", "A");
  rig.main.启用过滤选择框.set_ticked(true);
  exam::HandInPaper(rig.ctx);
  EXPECT_EQ(rig.Reserved("0100001"), 1) << "shown, not answered";
  EXPECT_EQ(rig.Reserved("0100002"), 3) << "shown, not answered";
  EXPECT_EQ(rig.Reserved("0100003"), 2);
  EXPECT_EQ(rig.Reserved("0100004"), 0);
  EXPECT_EQ(rig.Reserved("0100005"), 0);
}

TEST(WriteBackMastery, TimeUpWithTheFilterTickedWritesTheCountersBack) {
  ExamRig rig(CountersBank({{1, 1}, {2, 1}}));
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  exam::StartPaperClock(rig.ctx);
  Answer(rig, "0100001", "A");  // right
  Answer(rig, "0100002", "D");  // wrong
  Answer(rig, "0100003", "C");  // right
  for (int minute = 1; minute <= 44; ++minute) rig.host.Tick();
  EXPECT_EQ(rig.Reserved("0100001"), 1) << "nothing before the time is up";
  EXPECT_EQ(rig.host.score_windows_opened, 0);
  rig.host.Tick();
  EXPECT_EQ(rig.host.score_windows_opened, 1);
  EXPECT_EQ(rig.Reserved("0100001"), 2);
  EXPECT_EQ(rig.Reserved("0100002"), 0);
  EXPECT_EQ(rig.Reserved("0100003"), 1);
  EXPECT_EQ(rig.Reserved("0100004"), 0);

  // The same with the filter unticked at the end: nothing is written.
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  exam::StartPaperClock(rig.ctx);
  Answer(rig, "0100003", "C");
  Answer(rig, "0100004", "D");
  rig.main.启用过滤选择框.set_ticked(false);
  for (int minute = 1; minute <= 45; ++minute) rig.host.Tick();
  EXPECT_EQ(rig.host.score_windows_opened, 2);
  EXPECT_EQ(rig.Reserved("0100003"), 1);
  EXPECT_EQ(rig.Reserved("0100004"), 0);
}

// A bank file in memory whose bytes outlive the connection, and which refuses every write that
// touches one chosen byte range (the stored counter of one question).
class RefusingFile : public jet::File {
 public:
  struct Bytes {
    std::string data;
    uint64_t refused_from = 0;
    uint64_t refused_to = 0;  // exclusive; an empty range refuses nothing
    int refused = 0;
  };
  explicit RefusingFile(std::shared_ptr<Bytes> bytes) : bytes_(std::move(bytes)) {}

  base::Result<void> ReadAt(uint64_t offset, std::span<uint8_t> data) const override {
    if (offset + data.size() > bytes_->data.size()) {
      return base::MakeError(base::ErrorCode::kIo, "read past the end");
    }
    std::copy_n(bytes_->data.begin() + static_cast<ptrdiff_t>(offset), data.size(), data.begin());
    return base::Ok();
  }
  base::Result<void> WriteAt(uint64_t offset, std::span<const uint8_t> data) override {
    if (offset + data.size() > bytes_->data.size()) {
      return base::MakeError(base::ErrorCode::kIo, "write past the end");
    }
    if (offset < bytes_->refused_to && offset + data.size() > bytes_->refused_from) {
      ++bytes_->refused;
      return base::MakeError(base::ErrorCode::kIo, "write refused");
    }
    std::copy(data.begin(), data.end(), bytes_->data.begin() + static_cast<ptrdiff_t>(offset));
    return base::Ok();
  }
  uint64_t Size() const override { return bytes_->data.size(); }
  base::Result<void> Sync() override { return base::Ok(); }
  bool writable() const override { return true; }
  base::Result<bool> Refresh() override { return false; }

 private:
  std::shared_ptr<Bytes> bytes_;
};

// The counter of `id` in the bank `bytes` holds.
int ReservedIn(const std::string& bytes, const std::string& id) {
  bank::Database reader;
  if (!reader.OpenFile(std::make_unique<jet::MemFile>(bytes, false),
                       text::Utf16ToUtf8(exam_testing::kPassword))) {
    return -1000;
  }
  const int32_t set = reader.OpenTable("select * from test where id='" + id + "'");
  const bank::Value v = reader.ReadColByName(set, "reserved");
  return v.is_number() ? static_cast<int>(v.integer) : -2000;
}

TEST(WriteBackMastery, AFailedUpdateDoesNotStopTheOthers) {
  const auto image = exam_testing::BuildBank(CountersBank({}));
  const std::string original(image.begin(), image.end());
  const std::string password = text::Utf16ToUtf8(exam_testing::kPassword);

  // Where the counter of `id` lies in the file: the bytes one update of it changes.
  auto counter_bytes = [&](const std::string& id) {
    auto probe = std::make_shared<RefusingFile::Bytes>(RefusingFile::Bytes{original});
    bank::Database db;
    EXPECT_TRUE(db.OpenFile(std::make_unique<RefusingFile>(probe), password));
    EXPECT_TRUE(db.ExecuteSql("update test set reserved=77 where id='" + id + "'"));
    std::pair<uint64_t, uint64_t> range{original.size(), 0};
    for (uint64_t i = 0; i < original.size(); ++i) {
      if (probe->data[i] == original[i]) continue;
      range.first = std::min(range.first, i);
      range.second = i + 1;
    }
    return range;
  };

  auto bytes = std::make_shared<RefusingFile::Bytes>(RefusingFile::Bytes{original});
  ExamRig rig(CountersBank({}));
  ASSERT_TRUE(rig.db.OpenFile(std::make_unique<RefusingFile>(bytes), password));
  rig.host.tick_count = 1;
  ASSERT_TRUE(exam::BuildQuestionSet(rig.ctx));
  const std::vector<std::string> ids = rig.PaperIds();
  ASSERT_EQ(ids.size(), 6u);
  for (int32_t i = 1; i <= 6; ++i) rig.ctx.paper.At(i)->answer = rig.ctx.paper.At(i)->right_key;
  // The second statement of the paper fails; those before and after it must still be made.
  const std::string refused = ids[1];
  std::tie(bytes->refused_from, bytes->refused_to) = counter_bytes(refused);
  ASSERT_LT(bytes->refused_from, bytes->refused_to);

  EXPECT_FALSE(exam::WriteBackMastery(rig.ctx)) << "one statement failed";
  EXPECT_EQ(bytes->refused, 1);
  for (const std::string& id : ids) {
    EXPECT_EQ(ReservedIn(bytes->data, id), id == refused ? 0 : 1) << id;
  }
}

// --- MarkMastered ---

class MarkMastered : public ::testing::Test {
 protected:
  MarkMastered() : rig({exam_testing::StandardConfig(), FourOption("01", 20), nullptr}) {
    EXPECT_TRUE(exam::BuildQuestionSet(rig.ctx));
    exam::ShowCurrentQuestion(rig.ctx);
  }
  void ShowAt(int32_t position) {
    rig.ctx.current_index = position;
    exam::ShowCurrentQuestion(rig.ctx);
  }
  ExamRig rig;
  exam::Context& ctx = rig.ctx;
};

TEST_F(MarkMastered, MiddleQuestionGivesWayToTheNextOne) {
  ShowAt(5);
  const std::string marked = ctx.paper.At(5)->id;
  const std::string sixth = ctx.paper.At(6)->id;
  const size_t bytes = rig.main.题目.caption().size();
  const int events_before = rig.host.process_events_calls;
  exam::MarkMastered(ctx);
  EXPECT_EQ(rig.Reserved(marked), 2);
  EXPECT_EQ(ctx.paper.size(), 19);
  EXPECT_EQ(rig.main.共标签.caption(), "19");
  EXPECT_EQ(ctx.current_index, 5);
  EXPECT_EQ(ctx.paper.At(5)->id, sixth);
  EXPECT_EQ(rig.main.题目.caption(), ctx.paper.At(5)->question);
  // One byte a step, 10 ms and a pending-events pass each (plus the one of the display).
  EXPECT_EQ(rig.host.waits, static_cast<int>(bytes));
  EXPECT_EQ(rig.host.waited_ms, 10 * static_cast<int>(bytes));
  EXPECT_EQ(rig.host.process_events_calls - events_before, static_cast<int>(bytes) + 1);
}

// Every caption 题目 takes, in order.
class CaptionsOf : public ui::ControlObserver {
 public:
  explicit CaptionsOf(const ui::Label& label) : label_(label) {}
  void ControlChanged(const ui::Control& control, ui::Property property) override {
    if (&control == &label_ && property == ui::Property::kCaption) seen.push_back(label_.caption());
  }
  std::vector<std::string> seen;

 private:
  const ui::Label& label_;
};

TEST_F(MarkMastered, ErasesTheTextFromItsEndOneByteAStep) {
  ShowAt(2);
  const std::string text = rig.main.题目.caption();
  const std::string next = ctx.paper.At(3)->question;
  ASSERT_GT(text.size(), 8u);
  const int waits_before = rig.host.waits;
  CaptionsOf captions(rig.main.题目);
  rig.main.set_observer(&captions);
  // What each pass of pending events finds in 题目 (and after how many waits).
  std::vector<std::pair<std::string, int>> painted;
  rig.host.AtEventsWhen(
      [&] {
        painted.emplace_back(rig.main.题目.caption(), rig.host.waits - waits_before);
        return false;
      },
      [] {});
  exam::MarkMastered(ctx);
  rig.main.set_observer(nullptr);

  std::vector<std::string> expected;
  for (size_t n = text.size(); n-- > 0;) expected.push_back(text.substr(0, n));
  std::vector<std::string> erased(captions.seen.begin(), captions.seen.end() - 1);
  EXPECT_EQ(erased, expected) << "one byte at a time from the end";
  EXPECT_EQ(captions.seen.back(), next);
  // Each shorter text is waited on and then painted before the next byte goes.
  ASSERT_GE(painted.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(painted[i], std::make_pair(expected[i], static_cast<int>(i) + 1)) << "step " << i;
  }
  EXPECT_EQ(rig.host.waits - waits_before, static_cast<int>(text.size()));
}

TEST_F(MarkMastered, FirstAndLastQuestions) {
  const std::string second = ctx.paper.At(2)->id;
  exam::MarkMastered(ctx);
  EXPECT_EQ(ctx.current_index, 1);
  EXPECT_EQ(ctx.paper.At(1)->id, second);

  ShowAt(19);
  const std::string eighteenth = ctx.paper.At(18)->id;
  exam::MarkMastered(ctx);
  EXPECT_EQ(ctx.paper.size(), 18);
  EXPECT_EQ(ctx.current_index, 18);
  EXPECT_EQ(ctx.paper.At(18)->id, eighteenth);
  EXPECT_EQ(rig.main.第标签.caption(), "18");
}

TEST_F(MarkMastered, TheOnlyQuestionLeavesAnEmptyPaper) {
  while (ctx.paper.size() > 1) ctx.paper.RemoveAt(2);
  const std::string only = ctx.paper.At(1)->id;
  const std::string answer_shown = rig.main.A.caption();
  exam::MarkMastered(ctx);
  EXPECT_EQ(rig.Reserved(only), 2);
  EXPECT_TRUE(ctx.paper.empty());
  EXPECT_EQ(ctx.current_index, 0);
  EXPECT_EQ(rig.main.共标签.caption(), "0");
  EXPECT_EQ(rig.main.题目.caption(), "");
  EXPECT_EQ(rig.main.A.caption(), answer_shown) << "the rest of the area keeps what it showed";
}

TEST_F(MarkMastered, WorksWithTheFilterOffAndDoesNothingWithoutAPaper) {
  rig.main.启用过滤选择框.set_ticked(false);
  const std::string first = ctx.paper.At(1)->id;
  exam::MarkMastered(ctx);
  EXPECT_EQ(rig.Reserved(first), 2);
  exam::ResetToIdle(ctx);
  const int waits = rig.host.waits;
  exam::MarkMastered(ctx);
  EXPECT_EQ(rig.host.waits, waits);
  EXPECT_EQ(rig.main.题目.caption(), G("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
}

TEST_F(MarkMastered, SteppingOnWhileErasingStillRemovesTheMarkedQuestion) {
  ShowAt(5);
  const std::string marked = ctx.paper.At(5)->id;
  const std::string seventh = ctx.paper.At(7)->id;
  rig.host.AtEvents(3, [&] { exam::NextQuestion(ctx); });
  exam::MarkMastered(ctx);
  EXPECT_EQ(ctx.paper.size(), 19);
  EXPECT_EQ(PositionOfId(ctx, marked), 0);
  // The position moved on to 6 during the erasing and stays there, now holding the old 7th.
  EXPECT_EQ(ctx.current_index, 6);
  EXPECT_EQ(ctx.paper.At(6)->id, seventh);
  EXPECT_EQ(rig.main.题目.caption(), ctx.paper.At(6)->question);
}

TEST_F(MarkMastered, ANewPaperDuringTheErasingIsLeftWhole) {
  ShowAt(3);
  const std::string marked = ctx.paper.At(3)->id;
  rig.host.AtEvents(4, [&] {
    exam::ResetToIdle(ctx);
    ASSERT_TRUE(exam::BuildQuestionSet(ctx));
    exam::ShowCurrentQuestion(ctx);
  });
  exam::MarkMastered(ctx);
  EXPECT_EQ(rig.Reserved(marked), 2) << "marked before the erasing began";
  EXPECT_EQ(ctx.paper.size(), 19) << "the new paper left out the marked question, nothing else";
  EXPECT_EQ(PositionOfId(ctx, marked), 0);
  EXPECT_EQ(rig.main.共标签.caption(), "19");
  EXPECT_EQ(ctx.current_index, 1);
}

TEST_F(MarkMastered, TimeUpDuringTheErasingEndsWithAnIdleWindow) {
  rig.main.时钟1.set_period(60000);
  rig.main.剩余时间标签.set_caption("01");
  rig.host.AtEvents(2, [&] { rig.host.Tick(); });
  exam::MarkMastered(ctx);
  EXPECT_EQ(rig.host.score_windows_opened, 1);
  EXPECT_TRUE(ctx.paper.empty());
  EXPECT_EQ(ctx.current_index, 0);
  EXPECT_FALSE(rig.main.图形按钮1.visible());
}

}  // namespace
