// Routing the bound events of both windows to their operations, and the fatal error report.
#include "app/logic/trainer.h"

#include "exam/answers.h"
#include "exam/display.h"
#include "exam/mastery.h"
#include "ui/gbk_literal.h"

namespace app {

Trainer::Trainer(platform::Host& host, Setup setup)
    : host_(host),
      setup_(std::move(setup)),
      exam_(main_, score_, database_, host_, setup_.pictures) {}

int32_t Trainer::Handle(const ui::Event& event) {
  const std::optional<ui::Operation> operation = ui::FindBinding(event.control, event.kind);
  if (event.kind == ui::EventKind::kClicked) {
    // Find knows only the main window's controls: the score window has no check box.
    if (ui::Control* control = main_.Find(event.control);
        control != nullptr && control->kind() == ui::Kind::kCheckBox) {
      auto* box = static_cast<ui::CheckBox*>(control);
      box->set_ticked(!box->ticked());
    }
  }
  if (!operation) return 0;
  base::Result<void> done = Run(*operation, event);
  if (!done) ReportFatal(done.error());
  return 0;
}

base::Result<void> Trainer::Run(ui::Operation operation, const ui::Event& event) {
  using O = ui::Operation;
  switch (operation) {
    case O::kStartUp:
      StartUp();
      break;
    case O::kCenterMainPanel:
      ui::CenterMainPanel(main_);
      break;
    case O::kPreviousQuestion:
      exam::PreviousQuestion(exam_);
      break;
    case O::kNextQuestion:
      exam::NextQuestion(exam_);
      break;
    case O::kMarkMastered:
      exam::MarkMastered(exam_);
      break;
    case O::kPaperClockTick:
      exam::PaperClockTick(exam_);
      break;
    case O::kFocusMainWindow:
      exam::FocusMainWindow(exam_);
      break;
    case O::kRefreshRightWrongMark:
      exam::RefreshRightWrongMark(exam_);
      break;
    case O::kRefreshRightAnswer:
      exam::RefreshRightAnswer(exam_);
      break;
    case O::kRefreshScore:
      exam::RefreshScore(exam_);
      break;
    case O::kDispatchKeyCommand:
      return keys::DispatchKeyCommand(exam_, hot_keys_, event.arg1, event.arg2);
    case O::kAnswerByMouse:
      if (const std::optional<char> letter = ui::OptionLetter(event.control)) {
        keys::AnswerByMouse(exam_, *letter);
      }
      break;
    case O::kShowPaperScore:
      exam::ShowPaperScore(exam_);
      break;
    case O::kCloseScoreWindow:
      exam::CloseScoreWindow(exam_);
      break;
  }
  return {};
}

void Trainer::ReportFatal(const base::Error& fault) {
  host_.ShowMessageBox(exam::FaultReport(fault), exam::FaultCaption(),
                       platform::MessageIcon::kError);
  host_.ExitProcess(-1);
}

}  // namespace app
