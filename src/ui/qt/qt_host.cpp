#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QThread>
#include <QUrl>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <system_error>
#include <thread>

#include "ui/qt/key_map.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/window_view.h"

namespace ui::qt {
namespace {

// A press of a registered key, as the main window raises it: the notification of 热键标签.
Event HotKeyEvent(int32_t id) {
  Event event;
  event.control = MainControl::热键标签;
  event.kind = EventKind::kNotification;
  event.arg1 = id;
  return event;
}

// Runs `run`; false, with the reason on stderr, when an exception escaped it.
bool RunCatching(const std::function<void()>& run) {
  try {
    run();
    return true;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "examora: the program failed: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "examora: the program failed with an unknown exception\n");
  }
  return false;
}

}  // namespace

QtHost::QtHost()
    : exit_([](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
      }) {}

QtHost::~QtHost() {
  if (event_log_ != nullptr) std::fclose(event_log_);
  if (filtering_ && qApp != nullptr) qApp->removeEventFilter(this);
  if (system_keys_ != nullptr) system_keys_->set_on_pressed(nullptr);
}

void QtHost::SetSystemKeys(platform::HotKeys* keys) {
  if (system_keys_ != nullptr) system_keys_->set_on_pressed(nullptr);
  system_keys_ = keys;
  if (system_keys_ != nullptr) {
    system_keys_->set_on_pressed([this](int32_t id) { Deliver(HotKeyEvent(id)); });
  }
}

bool QtHost::OpenEventLog(const std::string& path) {
  if (event_log_ != nullptr) std::fclose(event_log_);
  event_log_ = std::fopen(path.c_str(), "a");
  return event_log_ != nullptr;
}

int32_t QtHost::Deliver(const Event& event) {
  if (sink_ == nullptr) return 0;
  ++depth_;
  // No exception may unwind through Qt's event loop. One that escapes the logic ends the
  // program with -1, as a fatal data fault does.
  int32_t result = 0;
  if (!RunCatching([&] { result = sink_->Handle(event); })) {
    --depth_;
    ExitProcess(-1);  // returns only where a test has replaced the exit
    return 0;
  }
  if (event_log_ != nullptr) {
    const std::string control(event.control.is_window() ? std::string_view("-")
                                                        : Name(event.control));
    std::fprintf(event_log_, "%d %s %s %s %d\n", depth_,
                 event.window() == WindowId::kMain ? "main" : "score", control.c_str(),
                 EventKindName(event.kind), static_cast<int>(event.arg1));
    std::fflush(event_log_);
  }
  --depth_;
  return result;
}

WindowView* QtHost::score_view() const { return score_ != nullptr ? score_->view : nullptr; }

void QtHost::MainWindowClosed() {
  // Nothing is written at shut-down; a command running now (say, the erase of a mastered
  // question) must not run on to its write, so the process ends here unless none runs.
  if (depth_ > 0) {
    exit_(0);
    return;
  }
  QCoreApplication::exit(0);
}

void QtHost::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtHost::OpenScoreWindow() {
  if (score_window_ == nullptr) return;
  ScoreSession* outer = score_;
  ControlObserver* outer_observer = score_window_->observer();
  {
    WindowView view(
        *score_window_, [this](const Event& e) { Deliver(e); }, main_view_);
    // A close request of the system closes it as its own key and link do.
    connect(&view, &WindowView::closed, this, &QtHost::CloseScoreWindow);
    QEventLoop loop;
    ScoreSession session{&view, &loop, false};
    score_ = &session;
    Event created;
    created.control = ScoreControl::kWindow;
    created.kind = EventKind::kCreated;
    Deliver(created);
    if (!session.closed) {
      view.setWindowModality(Qt::ApplicationModal);
      view.show();
      view.raise();
      view.activateWindow();
      view.setFocus(Qt::ActiveWindowFocusReason);
      loop.exec();
    }
    score_ = outer;
  }
  score_window_->set_observer(outer_observer);
}

void QtHost::CloseScoreWindow() {
  if (score_ == nullptr || score_->closed) return;
  score_->closed = true;
  score_->view->hide();
  score_->loop->quit();
}

void QtHost::FocusMainWindow() {
  if (main_view_ == nullptr) return;
  main_view_->activateWindow();
  main_view_->setFocus(Qt::OtherFocusReason);
}

void QtHost::ShowMessageBox(const std::string& text, const std::string& caption,
                            platform::MessageIcon icon) {
  QMessageBox box(
      icon == platform::MessageIcon::kError ? QMessageBox::Critical : QMessageBox::NoIcon,
      FromGbk(caption), FromGbk(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box.exec();
}

void QtHost::ExitProcess(int code) { exit_(code); }

bool QtHost::OpenWebAddress(const std::string& address) {
  return QDesktopServices::openUrl(QUrl(FromUtf8(address)));
}

bool QtHost::RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtual_key) {
  if (system_keys_ != nullptr) return system_keys_->Register(id, modifiers, virtual_key);
  const auto key = std::make_pair(modifiers, virtual_key);
  if (window_keys_.contains(key)) return false;
  window_keys_.emplace(key, id);
  if (!filtering_ && qApp != nullptr) {
    qApp->installEventFilter(this);
    filtering_ = true;
  }
  return true;
}

int16_t QtHost::NumLockKeyState() {
  // Without access to the system's keyboard there is nothing to switch; report it on.
  return system_keys_ != nullptr ? system_keys_->NumLockKeyState() : 1;
}

void QtHost::TapNumLock() {
  if (system_keys_ != nullptr) system_keys_->TapNumLock();
}

uint32_t QtHost::TickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool QtHost::StartThread(std::function<void()> task) {
  try {
    std::thread(std::move(task)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void QtHost::PostToUiThread(std::function<void()> call) {
  // The call runs in Qt's event loop, which no exception may unwind either.
  QMetaObject::invokeMethod(
      this,
      [this, call = std::move(call)] {
        if (!RunCatching(call)) ExitProcess(-1);
      },
      Qt::QueuedConnection);
}

void QtHost::Wait(int milliseconds) { QThread::msleep(static_cast<unsigned long>(milliseconds)); }

bool QtHost::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && !window_keys_.empty()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const uint32_t modifiers = (key->modifiers() & Qt::ControlModifier) ? platform::kModControl : 0;
    auto it = window_keys_.find({modifiers, VirtualKeyOf(*key)});
    if (it != window_keys_.end()) {
      Deliver(HotKeyEvent(it->second));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui::qt
