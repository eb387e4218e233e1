#include "keys/key_commands.h"

#include "exam/answers.h"
#include "exam/display.h"
#include "exam/idle.h"
#include "exam/mastery.h"
#include "exam/paper_builder.h"
#include "exam/progress.h"
#include "platform/host.h"
#include "ui/windows.h"

namespace keys {
namespace {

using platform::kModControl;

constexpr HotKey kHotKeys[] = {
    {platform::kVkNumpad8, 0, Command::kNewPaper},
    {platform::kVkNumpad9, 0, Command::kHandIn},
    {platform::kVkNumpad4, 0, Command::kPrevious},
    {platform::kVkNumpad6, 0, Command::kNext},
    {platform::kVkNumpad1, 0, Command::kAnswerA},
    {platform::kVkNumpad2, 0, Command::kAnswerB},
    {platform::kVkNumpad3, 0, Command::kAnswerC},
    {platform::kVkNumpad0, 0, Command::kAnswerD},
    {platform::kVkAdd, 0, Command::kRevealAnswer},
    {platform::kVkMultiply, kModControl, Command::kClearMastered},
};
static_assert(std::size(kHotKeys) == std::tuple_size_v<HotKeyIds>);

// The order in which a delivered identifier is compared with the registered ones.
constexpr Command kDispatchOrder[] = {
    Command::kNewPaper,      Command::kHandIn,       Command::kPrevious, Command::kNext,
    Command::kAnswerA,       Command::kAnswerB,      Command::kAnswerC,  Command::kAnswerD,
    Command::kClearMastered, Command::kRevealAnswer,
};

int32_t IdOf(const HotKeyIds& ids, Command command) {
  for (size_t i = 0; i < std::size(kHotKeys); ++i) {
    if (kHotKeys[i].command == command) return ids[i];
  }
  return 0;
}

void Answer(exam::Context& ctx, char letter) {
  if (!exam::IsCurrentIndexValid(ctx)) return;
  const ui::Label* option = ctx.main.OptionLabel(letter);
  if (option == nullptr || option->caption().empty()) return;
  exam::RecordAnswer(ctx, letter);
}

base::Result<void> Run(exam::Context& ctx, Command command) {
  switch (command) {
    case Command::kNewPaper:
      return NewPaper(ctx);
    case Command::kHandIn:
      if (exam::IsCurrentIndexValid(ctx)) exam::HandInPaper(ctx);
      break;
    case Command::kPrevious:
      exam::PreviousQuestion(ctx);
      break;
    case Command::kNext:
      exam::NextQuestion(ctx);
      break;
    case Command::kAnswerA:
      Answer(ctx, 'A');
      break;
    case Command::kAnswerB:
      Answer(ctx, 'B');
      break;
    case Command::kAnswerC:
      Answer(ctx, 'C');
      break;
    case Command::kAnswerD:
      Answer(ctx, 'D');
      break;
    case Command::kClearMastered:
      exam::ClearMasteredRecords(ctx);
      break;
    case Command::kRevealAnswer:
      if (exam::IsCurrentIndexValid(ctx)) exam::RevealRightAnswer(ctx);
      break;
  }
  return {};
}

}  // namespace

std::span<const HotKey> HotKeyTable() { return kHotKeys; }

HotKeyIds RegisterHotKeys(platform::Host& host) {
  HotKeyIds ids{};
  for (size_t i = 0; i < std::size(kHotKeys); ++i) {
    const int32_t id = kFirstHotKeyId + static_cast<int32_t>(i);
    ids[i] = host.RegisterHotKey(id, kHotKeys[i].modifiers, kHotKeys[i].virtual_key) ? id : 0;
  }
  if (host.NumLockKeyState() == 0) host.TapNumLock();
  return ids;
}

base::Result<void> DispatchKeyCommand(exam::Context& ctx, const HotKeyIds& ids, int32_t id,
                                      int32_t /*unused*/) {
  // A refused key keeps identifier 0; nothing that arrives may match it.
  if (id == 0) return {};
  for (Command command : kDispatchOrder) {
    if (IdOf(ids, command) == id) return Run(ctx, command);
  }
  return {};
}

base::Result<void> NewPaper(exam::Context& ctx) {
  // Building lets events run; a second build started from inside the first would add its
  // questions to the paper being built.
  if (ctx.building) return {};
  ui::MainWindow& w = ctx.main;
  exam::ResetToIdle(ctx);
  w.题目.set_caption("");
  w.正在出题.set_visible(true);
  ctx.host.ProcessPendingEvents();
  EXAMORA_TRY(exam::BuildQuestionSet(ctx));
  w.正在出题.set_visible(false);
  ctx.host.ProcessPendingEvents();
  exam::ShowCurrentQuestion(ctx);
  exam::StartPaperClock(ctx);
  return exam::ShowProgressStatistics(ctx, w.组合框1.selected_text());
}

void AnswerByMouse(exam::Context& ctx, char letter) { Answer(ctx, letter); }

}  // namespace keys
