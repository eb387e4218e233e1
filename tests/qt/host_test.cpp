// The Qt host with the real logic and the built-in question bank on the offscreen platform:
// the model reaches the widgets, the learner's clicks and keys reach the logic, the score
// window opens modally and closes on a key or its link, and start-up failures are shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "app/logic/trainer.h"
#include "bank/builtin_image.h"
#include "qt/qt_app.h"
#include "support/process.h"
#include "ui/gbk_literal.h"
#include "ui/picture_names.h"
#include "ui/qt/picture.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/widgets.h"
#include "ui/qt/window_view.h"

namespace {

using M = ui::MainControl;
using ui::qt::CaptionView;
using ui::qt::FromUtf8;

std::string Carried(std::string_view name) {
  const QByteArray bytes = ui::qt::ArtworkBytes(name);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

class QtHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qt_testing::App();
    app::Setup setup;
    setup.program_dir = dir_.path().string();
    setup.bank_image = bank::BuiltinImage();
    setup.pictures = {Carried(ui::pictures::kPlaceholder), Carried(ui::pictures::kRightMark),
                      Carried(ui::pictures::kWrongMark)};
    setup.web_address = "";  // no browser from a test
    host_.set_exit([this](int code) { exit_code_ = code; });
    trainer_ = std::make_unique<app::Trainer>(host_, std::move(setup));
    host_.Attach(trainer_.get());
    host_.set_score_window(&trainer_->score_window());
    view_ = std::make_unique<ui::qt::WindowView>(
        trainer_->main_window(), [this](const ui::Event& event) { host_.Deliver(event); });
    host_.set_main_view(view_.get());
  }

  void Start() {
    ui::Event event;
    event.kind = ui::EventKind::kPositionChanged;
    host_.Deliver(event);
    event.kind = ui::EventKind::kCreated;
    host_.Deliver(event);
    view_->show();
    QApplication::processEvents();
  }

  QWidget* Widget(M id) const {
    QWidget* widget = view_->WidgetOf(id);
    EXPECT_NE(widget, nullptr) << ui::Name(id);
    return widget;
  }
  QString Caption(M id) const {
    auto* label = qobject_cast<CaptionView*>(Widget(id));
    return label != nullptr ? label->caption() : QStringLiteral("<not a label>");
  }
  void Keypad(Qt::Key key, QWidget* to = nullptr) {
    QTest::keyClick(to != nullptr ? to : view_.get(), key, Qt::KeypadModifier);
  }
  ui::MainWindow& model() { return trainer_->main_window(); }

  testing_support::TempDir dir_;
  std::optional<int> exit_code_;
  ui::qt::QtHost host_;
  std::unique_ptr<app::Trainer> trainer_;
  std::unique_ptr<ui::qt::WindowView> view_;
};

TEST_F(QtHostTest, TheMainWindowComesUpIdleAsDescribed) {
  Start();
  EXPECT_FALSE(exit_code_.has_value());
  EXPECT_TRUE(std::filesystem::is_regular_file(dir_ / "exam.sys"));
  EXPECT_EQ(view_->windowTitle(), QStringLiteral("【Plexa】Examora V1.0 "));
  EXPECT_TRUE(view_->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(view_->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(view_->size(), QSize(905, 656));
  // The panel was centred when the window was placed, before anything was shown.
  EXPECT_EQ(Widget(M::图片框1)->pos(), QPoint(52, 28));
  EXPECT_EQ(Widget(M::图片框1)->size(), QSize(800, 600));
  EXPECT_EQ(Widget(M::题目)->geometry(), QRect(25, 98, 751, 94));
  EXPECT_EQ(Caption(M::题目), QStringLiteral("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
  EXPECT_EQ(Caption(M::A), QString());
  EXPECT_EQ(Caption(M::剩余时间标签), QStringLiteral("00"));
  for (M hidden : {M::图形按钮1, M::图形按钮2, M::图形按钮3, M::答对的题图片框, M::正在出题,
                   M::超文本浏览框1}) {
    EXPECT_FALSE(Widget(hidden)->isVisible()) << ui::Name(hidden);
  }
  auto* combo = qobject_cast<QComboBox*>(Widget(M::组合框1));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentText(), QStringLiteral("C1C2C3C4"));
  EXPECT_EQ(combo->count(), 5);
  EXPECT_TRUE(qobject_cast<QCheckBox*>(Widget(M::启用过滤选择框))->isChecked());
  EXPECT_FALSE(qobject_cast<QCheckBox*>(Widget(M::自动下一题选择框))->isChecked());
  // The placeholder thread's picture arrives through the window's queue.
  auto* picture = qobject_cast<ui::qt::PictureView*>(Widget(M::图片框3));
  for (int i = 0; i < 200 && picture->frame().isNull(); ++i) QTest::qWait(10);
  EXPECT_EQ(picture->bytes().size(),
            static_cast<qsizetype>(Carried(ui::pictures::kPlaceholder).size()));
  // Earlier rows lie above later ones: the preparing panel over the question label.
  const QObjectList& children = Widget(M::图片框1)->children();
  EXPECT_GT(children.indexOf(Widget(M::正在出题)), children.indexOf(Widget(M::题目)));
}

TEST_F(QtHostTest, PropertyChangesReachTheirWidgets) {
  Start();
  model().题目.set_caption(ui::G("第一题"));
  EXPECT_EQ(Caption(M::题目), QStringLiteral("第一题"));
  model().答对的题图片框.set_visible(true);
  EXPECT_TRUE(Widget(M::答对的题图片框)->isVisible());
  model().对错.set_picture(Carried(ui::pictures::kWrongMark));
  EXPECT_EQ(qobject_cast<ui::qt::PictureView*>(Widget(M::对错))->frame().size(), QSize(64, 64));
  model().A.set_pointer(ui::Pointer::kHand);
  EXPECT_EQ(Widget(M::A)->cursor().shape(), Qt::PointingHandCursor);
  model().显示分数选择框.set_ticked(true);
  EXPECT_TRUE(qobject_cast<QCheckBox*>(Widget(M::显示分数选择框))->isChecked());
  model().组合框1.set_selection(4);
  EXPECT_EQ(qobject_cast<QComboBox*>(Widget(M::组合框1))->currentText(), QStringLiteral("DEF"));
  // The timer runs at the period the model gives it, and keeps running when given it again.
  model().时钟1.set_period(60000);
  QTimer* clock = view_->TimerOf(M::时钟1);
  ASSERT_NE(clock, nullptr);
  EXPECT_TRUE(clock->isActive());
  EXPECT_EQ(clock->interval(), 60000);
  const int left = clock->remainingTime();
  QTest::qWait(20);
  model().时钟1.set_period(60000);
  EXPECT_LT(clock->remainingTime(), left);
  model().时钟1.set_period(0);
  EXPECT_FALSE(clock->isActive());
}

TEST_F(QtHostTest, KeypadKeysAndClicksReachTheLogic) {
  Start();
  Keypad(Qt::Key_8);
  ASSERT_EQ(Caption(M::共标签), QStringLiteral("100"));
  EXPECT_EQ(Caption(M::第标签), QStringLiteral("1"));
  EXPECT_EQ(Caption(M::剩余时间标签), QStringLiteral("45"));
  EXPECT_FALSE(Caption(M::题目).isEmpty());
  EXPECT_FALSE(Widget(M::正在出题)->isVisible());
  EXPECT_TRUE(view_->TimerOf(M::时钟1)->isActive());

  // The picture buttons step through the paper.
  ASSERT_TRUE(Widget(M::图形按钮3)->isVisible());
  QTest::mouseClick(Widget(M::图形按钮3), Qt::LeftButton);
  EXPECT_EQ(Caption(M::第标签), QStringLiteral("2"));
  QTest::mouseClick(Widget(M::图形按钮2), Qt::LeftButton);
  QTest::mouseClick(Widget(M::图形按钮2), Qt::LeftButton);
  EXPECT_EQ(Caption(M::第标签), QStringLiteral("100"));  // wraps to the last question
  Keypad(Qt::Key_6);
  EXPECT_EQ(Caption(M::第标签), QStringLiteral("1"));

  // A check box is ticked by the logic, not by the widget alone.
  auto* next = qobject_cast<QCheckBox*>(Widget(M::自动下一题选择框));
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_TRUE(model().自动下一题选择框.ticked());
  EXPECT_TRUE(next->isChecked());
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_FALSE(model().自动下一题选择框.ticked());
  EXPECT_FALSE(next->isChecked());

  // Releasing the button over an option answers with its letter.
  QTest::mouseClick(Widget(M::B), Qt::LeftButton);
  EXPECT_EQ(trainer_->exam().paper.At(1)->answer, "B");
  EXPECT_EQ(Caption(M::您的答案), QStringLiteral("B"));
  Keypad(Qt::Key_1);
  EXPECT_EQ(trainer_->exam().paper.At(1)->answer, "A");
  // An ordinary digit (not the keypad's) is no command.
  QTest::keyClick(view_.get(), Qt::Key_2);
  EXPECT_EQ(trainer_->exam().paper.At(1)->answer, "A");
}

TEST_F(QtHostTest, TheScoreWindowClosesOnAnyKeyButTheHotKeys) {
  Start();
  Keypad(Qt::Key_8);
  Keypad(Qt::Key_1);
  bool opened = false, open_after_hot_key = false, title_ok = false;
  QString score;
  QPoint place;
  QTimer::singleShot(0, [&] {
    ui::qt::WindowView* score_view = host_.score_view();
    if (score_view == nullptr) return;
    opened = score_view->isVisible();
    title_ok = score_view->windowTitle() == QStringLiteral("本卷分数");
    place = score_view->pos();
    if (auto* label =
            qobject_cast<CaptionView*>(score_view->WidgetOf(ui::ScoreControl::分数标签))) {
      score = label->caption();
    }
    Keypad(Qt::Key_4, score_view);  // a hot key: runs its command, leaves the window open
    open_after_hot_key = host_.score_view() != nullptr;
    Keypad(Qt::Key_5, score_view);  // no hot key: closes it
  });
  Keypad(Qt::Key_9);  // returns once the score window is closed
  EXPECT_TRUE(opened);
  EXPECT_TRUE(title_ok);
  EXPECT_TRUE(open_after_hot_key);
  EXPECT_EQ(host_.score_view(), nullptr);
  EXPECT_TRUE(trainer_->exam().paper.empty());  // the score window reset the main window
  EXPECT_TRUE(score == QStringLiteral("0") || score == QStringLiteral("1")) << score.toStdString();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(place, QPoint((screen.width() - 400) / 2, (screen.height() - 301) / 2));
  // The main window is idle again.
  EXPECT_EQ(Caption(M::题目), QStringLiteral("模拟考试建议使用【小键盘】操作。请按【8】键出题。"));
  EXPECT_FALSE(view_->TimerOf(M::时钟1)->isActive());
}

TEST_F(QtHostTest, TheScoreWindowClosesOnItsLink) {
  Start();
  Keypad(Qt::Key_8);
  bool link_found = false;
  QTimer::singleShot(0, [&] {
    ui::qt::WindowView* score_view = host_.score_view();
    if (score_view == nullptr) return;
    QWidget* link = score_view->WidgetOf(ui::ScoreControl::超级链接框1);
    link_found = link != nullptr;
    if (link) QTest::mouseClick(link, Qt::LeftButton);
  });
  Keypad(Qt::Key_9);
  EXPECT_TRUE(link_found);
  EXPECT_EQ(host_.score_view(), nullptr);
  EXPECT_TRUE(trainer_->exam().paper.empty());
}

TEST_F(QtHostTest, AClosedScoreWindowEndsItsModalLoop) {
  Start();
  bool closed_from_outside = false;
  QTimer::singleShot(0, [&] {
    if (ui::qt::WindowView* score_view = host_.score_view()) {
      closed_from_outside = score_view->close();
    }
  });
  Keypad(Qt::Key_9);  // no paper: nothing happens, no window opens
  EXPECT_FALSE(closed_from_outside);
  Keypad(Qt::Key_8);
  QTimer::singleShot(0, [&] {
    if (ui::qt::WindowView* score_view = host_.score_view()) {
      closed_from_outside = score_view->close();
    }
  });
  Keypad(Qt::Key_9);
  EXPECT_TRUE(closed_from_outside);
  EXPECT_EQ(host_.score_view(), nullptr);
}

TEST_F(QtHostTest, EscClosesTheMainWindow) {
  Start();
  QSignalSpy closed(view_.get(), &ui::qt::WindowView::closed);
  QTest::keyClick(view_.get(), Qt::Key_Escape);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(view_->isVisible());
  EXPECT_FALSE(exit_code_.has_value());  // no command was running: the event loop ends it
}

TEST_F(QtHostTest, AnUnreadableBankIsReportedAndEndsWithZero) {
  std::filesystem::create_directory(dir_ / "exam.sys");
  QString text, title;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    text = box->text();
    title = box->windowTitle();
    box->accept();
  });
  Start();
  EXPECT_EQ(text, QStringLiteral("数据库丢失！"));
  EXPECT_EQ(title, QStringLiteral("信息："));
  EXPECT_EQ(exit_code_, 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "exam.sys"));
}

// An exception out of the logic (say, memory running out in the middle of a paper) must not
// unwind through Qt's event loop: the bridge says what it was and ends the program with -1.
TEST_F(QtHostTest, AnExceptionOutOfTheLogicEndsTheProgramWithMinusOne) {
  struct Throwing : ui::EventSink {
    int32_t Handle(const ui::Event&) override {
      if (standard) throw std::bad_alloc();
      throw 7;
    }
    bool standard = true;
  } throwing;
  Start();
  host_.Attach(&throwing);
  for (bool standard : {true, false}) {
    throwing.standard = standard;
    exit_code_.reset();
    testing::internal::CaptureStderr();
    Keypad(Qt::Key_8);  // through the key filter, as a learner's press comes
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(exit_code_, -1) << standard;
    EXPECT_NE(said.find(standard ? "bad_alloc" : "unknown"), std::string::npos) << said;
    EXPECT_EQ(host_.delivering(), 0);
  }
  host_.Attach(trainer_.get());
}

// The same for a call posted to the window's thread (the placeholder's hop onto it).
TEST_F(QtHostTest, AnExceptionOutOfAPostedCallEndsTheProgramWithMinusOne) {
  Start();
  exit_code_.reset();
  bool ran_after = false;
  testing::internal::CaptureStderr();
  host_.PostToUiThread([] { throw std::runtime_error("posted call"); });
  host_.PostToUiThread([&] { ran_after = true; });
  for (int i = 0; i < 10 && !ran_after; ++i) QCoreApplication::processEvents();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(exit_code_, -1);
  EXPECT_NE(said.find("posted call"), std::string::npos) << said;
}

}  // namespace
