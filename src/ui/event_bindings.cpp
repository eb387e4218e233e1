#include "ui/event_bindings.h"

#include "ui/control_names.h"

namespace ui {
namespace {

namespace m = main_names;
namespace s = score_names;
using E = EventKind;
using O = Operation;
constexpr WindowId kMain = WindowId::kMain;
constexpr WindowId kScore = WindowId::kScore;

constexpr Binding kBindings[] = {
    {kMain, "", E::kCreated, O::kStartUp},
    {kMain, "", E::kPositionChanged, O::kCenterMainPanel},
    {kMain, m::图形按钮2, E::kClicked, O::kPreviousQuestion},
    {kMain, m::图形按钮3, E::kClicked, O::kNextQuestion},
    {kMain, m::图形按钮1, E::kClicked, O::kMarkMastered},
    {kMain, m::时钟1, E::kTick, O::kPaperClockTick},
    {kMain, m::启用过滤选择框, E::kClicked, O::kFocusMainWindow},
    {kMain, m::自动下一题选择框, E::kClicked, O::kFocusMainWindow},
    {kMain, m::显示对错选择框, E::kClicked, O::kRefreshRightWrongMark},
    {kMain, m::显示答案选择框, E::kClicked, O::kRefreshRightAnswer},
    {kMain, m::显示分数选择框, E::kClicked, O::kRefreshScore},
    {kMain, m::热键标签, E::kNotification, O::kDispatchKeyCommand},
    {kMain, m::A, E::kLeftReleased, O::kAnswerByMouse},
    {kMain, m::B, E::kLeftReleased, O::kAnswerByMouse},
    {kMain, m::C, E::kLeftReleased, O::kAnswerByMouse},
    {kMain, m::D, E::kLeftReleased, O::kAnswerByMouse},
    {kScore, "", E::kCreated, O::kShowPaperScore},
    {kScore, "", E::kKeyPressed, O::kCloseScoreWindow},
    {kScore, s::超级链接框1, E::kLeftReleased, O::kCloseScoreWindow},
};

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

std::optional<Operation> FindBinding(WindowId window, std::string_view control, EventKind event) {
  for (const Binding& b : kBindings) {
    if (b.window == window && b.control == control && b.event == event) return b.operation;
  }
  return std::nullopt;
}

}  // namespace ui
