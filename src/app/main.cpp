// The program entry: the application object, the built-in pictures and question bank, the
// logic, the host and the main window; then the main window's "position changed" and
// "created" events (the panel is centred, StartUp runs) before the window is first shown, and
// the event loop until the window is closed.
#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>
#include <filesystem>

#include "app/logic/bank_folder.h"
#include "app/logic/trainer.h"
#include "app/system_keys.h"
#include "art_resources.h"
#include "bank/builtin_image.h"
#include "ui/picture_names.h"
#include "ui/qt/picture.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/window_view.h"

namespace {

std::string Carried(std::string_view name) {
  const QByteArray bytes = ui::qt::ArtworkBytes(name);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

ui::Event WindowEvent(ui::EventKind kind) {
  ui::Event event;
  event.control = ui::MainControl::kWindow;
  event.kind = kind;
  return event;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The same look on every desktop; the window's artwork carries the rest.
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(style);
  }
  art::InitResources();

  app::Setup setup;
  const QByteArray dir = QCoreApplication::applicationDirPath().toUtf8();
  setup.program_dir.assign(dir.constData(), static_cast<size_t>(dir.size()));
#ifdef EXAMORA_BANK_IN_USER_DATA
  // The installed program: its folder is not the learner's to write, so the bank lives in the
  // learner's data folder, made on first start. Without a home folder the program's own folder
  // stays, where the start then reports the missing bank as always.
  if (auto folder = app::UserBankFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"))) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::u8path(*folder), ignored);
    setup.program_dir = *folder;
  }
#endif
  setup.bank_image = bank::BuiltinImage();
  setup.pictures.placeholder = Carried(ui::pictures::kPlaceholder);
  setup.pictures.right_mark = Carried(ui::pictures::kRightMark);
  setup.pictures.wrong_mark = Carried(ui::pictures::kWrongMark);

  ui::qt::QtHost host;
  app::Trainer trainer(host, std::move(setup));
  host.Attach(&trainer);
  host.set_score_window(&trainer.score_window());

  ui::qt::WindowView main_view(trainer.main_window(),
                               [&host](const ui::Event& event) { host.Deliver(event); });
  host.set_main_view(&main_view);
  if (const QByteArray log = qgetenv("EXAMORA_EVENT_LOG"); !log.isEmpty()) {
    (void)host.OpenEventLog(log.toStdString());
  }
  QObject::connect(&main_view, &ui::qt::WindowView::closed, &host,
                   &ui::qt::QtHost::MainWindowClosed);
  std::unique_ptr<platform::HotKeys> keys = app::OpenSystemKeys(main_view);
  host.SetSystemKeys(keys.get());

  host.Deliver(WindowEvent(ui::EventKind::kPositionChanged));
  host.Deliver(WindowEvent(ui::EventKind::kCreated));
  main_view.show();
  main_view.activateWindow();
  const int code = QApplication::exec();
  host.SetSystemKeys(nullptr);
  return code;
}
