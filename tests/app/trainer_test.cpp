// The program's logic as the host sees it: start-up with a missing, a good and a broken bank,
// the placeholder picture, events routed through the binding table, and the fatal error report.
#include "app/logic/trainer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "exam/display.h"
#include "exam/exam_fixture.h"

namespace {

using exam_testing::FourOption;
using exam_testing::G;
using platform::FakeHost;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::string Image(exam_testing::BankContent content) {
  const std::vector<uint8_t> bytes = exam_testing::BuildBank(content);
  return std::string(bytes.begin(), bytes.end());
}

std::string StandardImage() {
  return Image({exam_testing::StandardConfig(), FourOption("01", 12), nullptr});
}

size_t IndexOf(const std::vector<std::string>& calls, const std::string& prefix) {
  for (size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].starts_with(prefix)) return i;
  }
  return calls.size();
}

class Program : public ::testing::Test {
 protected:
  Program() : image(StandardImage()) {}
  // Creates the trainer and its main window as a host does: placed, then created.
  app::Trainer& Start() {
    trainer = std::make_unique<app::Trainer>(
        host, app::Setup{dir.path().string(), image, exam_testing::TestPictures()});
    host.Attach(trainer.get());
    host.Deliver({ui::MainControl::kWindow, ui::EventKind::kPositionChanged});
    host.Deliver({ui::MainControl::kWindow, ui::EventKind::kCreated});
    return *trainer;
  }
  std::filesystem::path BankFile() const { return dir.path() / "exam.sys"; }
  TempDir dir;
  std::string image;
  FakeHost host;
  std::unique_ptr<app::Trainer> trainer;
};

TEST_F(Program, FirstStartWritesTheBankAndComesUpIdle) {
  app::Trainer& t = Start();
  ASSERT_TRUE(std::filesystem::exists(BankFile()));
  const std::vector<uint8_t> written = ReadBytes(BankFile());
  EXPECT_EQ(std::string(written.begin(), written.end()), image);
  EXPECT_TRUE(t.database().is_open());
  EXPECT_TRUE(host.message_boxes.empty());
  EXPECT_FALSE(host.ended());

  ui::MainWindow& w = t.main_window();
  EXPECT_EQ(w.图片框1.left(), 52);
  EXPECT_EQ(w.图片框1.top(), 28);
  EXPECT_EQ(w.题目.caption(), G("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
  for (const ui::Label* option : {&w.A, &w.B, &w.C, &w.D}) {
    EXPECT_EQ(option->caption(), "");
    EXPECT_EQ(option->pointer(), ui::Pointer::kDefault);
  }
  EXPECT_FALSE(w.图形按钮1.visible() || w.图形按钮2.visible() || w.图形按钮3.visible());
  EXPECT_FALSE(w.答对的题图片框.visible());
  EXPECT_EQ(t.exam().current_index, 0);
  EXPECT_EQ(w.剩余时间标签.caption(), "00") << "kept until a paper starts";
  EXPECT_EQ(t.hot_key_ids()[0], 33001);
  EXPECT_EQ(host.hot_keys.size(), 10u);

  EXPECT_TRUE(w.图片框3.picture().empty()) << "the placeholder comes through the event loop";
  host.RunPosted();
  EXPECT_EQ(w.图片框3.picture(), "PLACEHOLDER-JPEG");

  const auto& calls = host.calls;
  EXPECT_LT(IndexOf(calls, "RegisterHotKey"), IndexOf(calls, "StartThread"));
  EXPECT_LT(IndexOf(calls, "StartThread"), IndexOf(calls, "OpenWebAddress"));
  EXPECT_EQ(host.opened_addresses, std::vector<std::string>{std::string(app::kMakerWebAddress)});
}

// Puts each property change of a window into the fake host's call list, so that the list shows
// host calls and screen changes in the order they happened.
class ChangesIntoCalls : public ui::ControlObserver {
 public:
  explicit ChangesIntoCalls(FakeHost& host) : host_(host) {}
  void ControlChanged(const ui::Control& control, ui::Property property) override {
    std::string line = std::string(control.name()) + " " + ui::PropertyName(property);
    if (property == ui::Property::kCaption) {
      line += "=" + static_cast<const ui::CaptionedControl&>(control).caption();
    }
    host_.calls.push_back(line);
  }

 private:
  FakeHost& host_;
};

TEST_F(Program, StartUpRunsItsStepsInOrder) {
  host.numlock_state = 0;
  trainer = std::make_unique<app::Trainer>(
      host, app::Setup{dir.path().string(), image, exam_testing::TestPictures()});
  host.Attach(trainer.get());
  ChangesIntoCalls changes(host);
  trainer->main_window().set_observer(&changes);
  host.Deliver({ui::MainControl::kWindow, ui::EventKind::kPositionChanged});
  host.Deliver({ui::MainControl::kWindow, ui::EventKind::kCreated});
  host.RunPosted();
  trainer->main_window().set_observer(nullptr);

  std::vector<std::string> expected = {"图片框1 left", "图片框1 top"};
  for (int id = 33001; id <= 33010; ++id) {
    expected.push_back("RegisterHotKey " + std::to_string(id));
  }
  expected.push_back("TapNumLock");
  // ResetToIdle: only what differs from the design is reported.
  expected.push_back("题目 caption=" + G("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
  for (const char* option : {"A", "B", "C", "D"}) {
    expected.push_back(std::string(option) + " caption=");
  }
  for (const char* label : {"您的答案", "正确答案", "分数标签", "分标签", "共标签", "第标签"}) {
    expected.push_back(std::string(label) + " caption=");
  }
  expected.push_back("StartThread");
  expected.push_back("OpenWebAddress " + std::string(app::kMakerWebAddress));
  expected.push_back("图片框3 picture");  // the placeholder, through the event loop
  EXPECT_EQ(host.calls, expected);
}

TEST_F(Program, AnExistingBankIsNeverReplaced) {
  auto questions = FourOption("01", 12);
  questions[3].reserved = 1;  // progress of an earlier run
  const std::string earlier = Image({exam_testing::StandardConfig(), questions, nullptr});
  WriteBytes(BankFile(), std::vector<uint8_t>(earlier.begin(), earlier.end()));
  app::Trainer& t = Start();
  ASSERT_TRUE(t.database().is_open());
  const int32_t set = t.database().OpenTable("select * from test where id='0100004'");
  EXPECT_EQ(t.database().ReadColByName(set, "reserved").integer, 1);
}

TEST(StartUp, ABrokenBankEndsTheProgramWithItsMessage) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path&)> prepare;
    std::string image;
  };
  const Case cases[] = {
      {"an empty file", [](const auto& path) { WriteBytes(path, {}); }, StandardImage()},
      {"a directory", [](const auto& path) { std::filesystem::create_directory(path); },
       StandardImage()},
      {"a foreign file",
       [](const auto& path) {
         WriteBytes(path, {'M', 'Z', 0, 1});
       },
       StandardImage()},
      {"a foreign image written at first start", [](const auto&) {}, "not a database at all"},
      {"a truncated bank",
       [](const auto& path) {
         const std::string whole = StandardImage();
         WriteBytes(path, std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2));
       },
       StandardImage()},
      {"a truncated image written at first start", [](const auto&) {},
       StandardImage().substr(0, 3 * 4096)},
      {"a bank with another password",
       [](const auto& path) {
         WriteBytes(path, exam_testing::BuildBank(
                              {exam_testing::StandardConfig(), FourOption("01", 12), nullptr},
                              u"another-password"));
       },
       StandardImage()},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::filesystem::path bank = dir.path() / "exam.sys";
    c.prepare(bank);
    const bool existed = std::filesystem::exists(bank);
    const auto before =
        existed && !std::filesystem::is_directory(bank) ? ReadBytes(bank) : std::vector<uint8_t>{};
    FakeHost host;
    app::Trainer trainer(host, app::Setup{dir.path().string(), c.image, {}});
    host.Attach(&trainer);
    host.Deliver({ui::MainControl::kWindow, ui::EventKind::kCreated});
    ASSERT_EQ(host.message_boxes.size(), 1u) << c.what;
    EXPECT_EQ(host.message_boxes[0].text, G("数据库丢失！")) << c.what;
    EXPECT_EQ(host.message_boxes[0].caption, G("信息：")) << c.what;
    EXPECT_EQ(host.exit_code, 0) << c.what;
    EXPECT_TRUE(host.hot_keys.empty()) << c.what;
    EXPECT_TRUE(host.opened_addresses.empty()) << c.what;
    EXPECT_EQ(IndexOf(host.calls, "StartThread"), host.calls.size()) << c.what;
    if (existed && !std::filesystem::is_directory(bank)) {
      EXPECT_EQ(ReadBytes(bank), before) << c.what << ": left as it was";
    }
  }
}

TEST_F(Program, RefusedThreadAndFailedWebPageAreSilent) {
  host.refuse_threads = true;
  host.web_address_fails = true;
  app::Trainer& t = Start();
  host.RunPosted();
  EXPECT_TRUE(t.main_window().图片框3.picture().empty());
  EXPECT_FALSE(host.ended());
  EXPECT_TRUE(host.message_boxes.empty());
}

TEST_F(Program, PlaceholderIsSetOnlyWhenMissingAndNeverOverAQuestion) {
  app::Trainer& t = Start();
  ui::MainWindow& w = t.main_window();
  host.RunPosted();
  exam_testing::ChangeCounter counter;
  w.set_observer(&counter);
  t.PlaceholderTask();
  host.RunPosted();
  EXPECT_EQ(counter.count, 0) << "already the placeholder";
  w.set_observer(nullptr);

  t.PlaceholderTask();  // a thread that posted late
  exam_testing::PutPaper(t.exam(), 2);
  t.exam().current_index = 2;
  exam::ShowCurrentQuestion(t.exam());  // runs the posted check meanwhile: paper shown
  EXPECT_EQ(w.图片框3.picture(), "PIC2");
}

TEST_F(Program, EventsReachTheirOperations) {
  app::Trainer& t = Start();
  ui::MainWindow& w = t.main_window();
  EXPECT_TRUE(host.PressKeypad(platform::kVkNumpad8));
  ASSERT_EQ(t.exam().paper.size(), 12);
  const std::string right = t.exam().paper.At(1)->right_key;

  // A check-box click ticks the box before its operation reads it.
  const int focus = host.focus_calls;
  host.Deliver({ui::MainControl::显示答案选择框, ui::EventKind::kClicked});
  EXPECT_TRUE(w.显示答案选择框.ticked());
  EXPECT_EQ(w.正确答案.caption(), right);
  EXPECT_EQ(host.focus_calls, focus + 1);
  host.Deliver({ui::MainControl::自动下一题选择框, ui::EventKind::kClicked});
  EXPECT_TRUE(w.自动下一题选择框.ticked());
  EXPECT_EQ(host.focus_calls, focus + 2);

  host.Deliver({ui::MainControl::A, ui::EventKind::kLeftReleased});
  EXPECT_EQ(t.exam().paper.At(1)->answer, "A");
  EXPECT_EQ(t.exam().current_index, 2) << "moved on";
  host.Deliver({ui::MainControl::图形按钮2, ui::EventKind::kClicked});
  EXPECT_EQ(t.exam().current_index, 1);
  host.Deliver({ui::MainControl::图形按钮3, ui::EventKind::kClicked});
  EXPECT_EQ(t.exam().current_index, 2);
  host.Deliver({ui::MainControl::图形按钮1, ui::EventKind::kClicked});
  EXPECT_EQ(t.exam().paper.size(), 11);
  host.Tick();
  EXPECT_EQ(w.剩余时间标签.caption(), "44");
  host.Deliver({ui::MainControl::题目, ui::EventKind::kLeftReleased});  // unbound
  EXPECT_EQ(t.exam().paper.size(), 11);
}

TEST_F(Program, APaperFromKeyToCountersOnDisk) {
  app::Trainer& t = Start();
  ASSERT_TRUE(host.PressKeypad(platform::kVkNumpad8));
  const exam::QuestionRecord first = *t.exam().paper.At(1);
  const char letter = first.right_key[0];
  ASSERT_TRUE(host.PressKeypad(letter == 'D' ? platform::kVkNumpad0
                                             : platform::kVkNumpad1 + uint32_t(letter - 'A')));
  std::string score;
  host.WhileScoreWindowOpen([&] {
    score = t.score_window().分数标签.caption();
    host.Deliver({ui::ScoreControl::超级链接框1, ui::EventKind::kLeftReleased});
  });
  ASSERT_TRUE(host.PressKeypad(platform::kVkNumpad9));
  EXPECT_EQ(score, "1");
  EXPECT_EQ(host.score_windows_left_open, 0);
  EXPECT_EQ(IndexOf(host.calls, "CloseScoreWindow"), IndexOf(host.calls, "OpenScoreWindow") + 1);

  // Read back from the file itself.
  bank::Database reader;
  ASSERT_TRUE(reader.Open(BankFile().string(), "", std::string(app::kBankPassword), true));
  const int32_t set = reader.OpenTable("select * from test where id='" + first.id + "'");
  EXPECT_EQ(reader.ReadColByName(set, "reserved").integer, 1);
}

TEST_F(Program, AFatalDataErrorIsReportedAndEndsWithMinusOne) {
  exam_testing::BankContent content{exam_testing::StandardConfig(), FourOption("01", 3), nullptr};
  content.tamper = [](jet::WriterTable&, jet::WriterTable& test) {
    test.columns[3].type = jet::ColumnType::kInt32;  // option a
    for (auto& row : test.rows) row[3] = int32_t{1};
  };
  image = Image(content);
  Start();
  ASSERT_TRUE(host.PressKeypad(platform::kVkNumpad8));
  ASSERT_EQ(host.message_boxes.size(), 1u);
  EXPECT_EQ(host.message_boxes[0].text, G("运行时出错!") + "\n\n" + G("错误代码：") + "5\n\n" +
                                            G("错误信息：") + G("数据或数组类型不匹配") + "\n");
  EXPECT_EQ(host.message_boxes[0].caption, G("错误"));
  EXPECT_EQ(host.message_boxes[0].icon, platform::MessageIcon::kError);
  EXPECT_EQ(host.exit_code, -1);
}

}  // namespace
