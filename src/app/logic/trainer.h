// The program's logic as one object: the two window models, the question bank connection, the
// working paper and the hot-key identifiers, with start-up and the routing of every bound
// event to its operation. A host creates one Trainer, draws its windows, and delivers events
// to Handle(); the Trainer never touches the system except through the Host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "bank/database.h"
#include "exam/context.h"
#include "exam/fault.h"
#include "keys/key_commands.h"
#include "platform/host.h"
#include "ui/event_bindings.h"
#include "ui/windows.h"

namespace app {

// The password of the question bank file.
inline constexpr std::string_view kBankPassword = "rq7m2kx9tv4wz8";
// The maker's page, opened at every start.
inline constexpr std::string_view kMakerWebAddress = "https://www.plexa.example/examora/";

struct Setup {
  std::string program_dir;      // the folder of the program file (UTF-8)
  std::string_view bank_image;  // written as the bank file when none exists; must outlive StartUp
  exam::Pictures pictures;      // placeholder and marks
  std::string web_address{kMakerWebAddress};
};

class Trainer : public ui::EventSink {
 public:
  // The paper starts empty with no question shown. `host` must outlive the Trainer.
  Trainer(platform::Host& host, Setup setup);
  Trainer(const Trainer&) = delete;
  Trainer& operator=(const Trainer&) = delete;

  // Runs the operation bound to `event` (none: nothing). A click on a check box ticks or
  // unticks it first. A fatal data error is reported and ends the process with -1.
  int32_t Handle(const ui::Event& event) override;

  // The main window's "created" event: the bank file written if missing and opened (or
  // "数据库丢失！" and exit 0), hot keys and NumLock, the idle screen, the placeholder thread,
  // the maker's page.
  void StartUp();

  // The placeholder thread's body: hands the check to the window's thread, which gives
  // 图片框3 the placeholder picture unless it already shows exactly that picture.
  void PlaceholderTask();

  ui::MainWindow& main_window() { return main_; }
  ui::ScoreWindow& score_window() { return score_; }
  exam::Context& exam() { return exam_; }
  bank::Database& database() { return database_; }
  const keys::HotKeyIds& hot_key_ids() const { return hot_keys_; }
  // The bank file's path (UTF-8), set by StartUp.
  const std::string& bank_path() const { return bank_path_; }

 private:
  base::Result<void> Run(ui::Operation operation, const ui::Event& event);
  // Shows a kDataFault's report in a message box and ends the process with -1.
  void ReportFatal(const base::Error& fault);
  void ShowPlaceholderIfIdle();

  platform::Host& host_;
  Setup setup_;
  ui::MainWindow main_;
  ui::ScoreWindow score_;
  bank::Database database_;
  exam::Context exam_;
  keys::HotKeyIds hot_keys_{};
  std::string bank_path_;
};

}  // namespace app
