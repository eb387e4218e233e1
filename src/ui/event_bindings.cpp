#include "ui/event_bindings.h"

#include <iterator>

#include "ui/window_description.h"

namespace ui {
namespace {

using M = MainControl;
using S = ScoreControl;
using E = EventKind;
using O = Operation;

constexpr Binding kBindings[] = {
    {M::kWindow, E::kCreated, O::kStartUp},
    {M::kWindow, E::kPositionChanged, O::kCenterMainPanel},
    {M::图形按钮2, E::kClicked, O::kPreviousQuestion},
    {M::图形按钮3, E::kClicked, O::kNextQuestion},
    {M::图形按钮1, E::kClicked, O::kMarkMastered},
    {M::时钟1, E::kTick, O::kPaperClockTick},
    {M::启用过滤选择框, E::kClicked, O::kFocusMainWindow},
    {M::自动下一题选择框, E::kClicked, O::kFocusMainWindow},
    {M::显示对错选择框, E::kClicked, O::kRefreshRightWrongMark},
    {M::显示答案选择框, E::kClicked, O::kRefreshRightAnswer},
    {M::显示分数选择框, E::kClicked, O::kRefreshScore},
    {M::热键标签, E::kNotification, O::kDispatchKeyCommand},
    {M::A, E::kLeftReleased, O::kAnswerByMouse},
    {M::B, E::kLeftReleased, O::kAnswerByMouse},
    {M::C, E::kLeftReleased, O::kAnswerByMouse},
    {M::D, E::kLeftReleased, O::kAnswerByMouse},
    {S::kWindow, E::kCreated, O::kShowPaperScore},
    {S::kWindow, E::kKeyPressed, O::kCloseScoreWindow},
    {S::超级链接框1, E::kLeftReleased, O::kCloseScoreWindow},
};

// Whether a host raises `event` for `control`: windows are created, placed and given keys;
// picture buttons and check boxes are clicked; the captioned controls report the released
// button; timers tick; a label carries the hot-key notification.
constexpr bool CanRaise(ControlId control, EventKind event) {
  const std::optional<Kind> kind = KindOf(control);
  switch (event) {
    case E::kCreated:
    case E::kPositionChanged:
    case E::kKeyPressed:
      return !kind;
    case E::kClicked:
      return kind == Kind::kPictureButton || kind == Kind::kCheckBox;
    case E::kTick:
      return kind == Kind::kTimer;
    case E::kNotification:
      return kind == Kind::kLabel;
    case E::kLeftReleased:
      return kind == Kind::kLabel || kind == Kind::kTransparentLabel || kind == Kind::kHyperlink;
  }
  return false;
}

// Every row names an event its control can raise, and no event has two rows (the second would
// never run).
constexpr bool BindingsAreSound() {
  for (size_t i = 0; i < std::size(kBindings); ++i) {
    if (!CanRaise(kBindings[i].control, kBindings[i].event)) return false;
    for (size_t j = 0; j < i; ++j) {
      if (kBindings[j].control == kBindings[i].control &&
          kBindings[j].event == kBindings[i].event) {
        return false;
      }
    }
  }
  return true;
}
static_assert(BindingsAreSound());

}  // namespace

const char* EventKindName(EventKind kind) {
  switch (kind) {
    case E::kCreated:
      return "created";
    case E::kPositionChanged:
      return "position changed";
    case E::kClicked:
      return "clicked";
    case E::kTick:
      return "tick";
    case E::kNotification:
      return "notification";
    case E::kLeftReleased:
      return "left button released";
    case E::kKeyPressed:
      return "key pressed";
  }
  return "event";
}

std::span<const Binding> EventBindings() { return kBindings; }

std::optional<Operation> FindBinding(ControlId control, EventKind event) {
  for (const Binding& b : kBindings) {
    if (b.control == control && b.event == event) return b.operation;
  }
  return std::nullopt;
}

}  // namespace ui
