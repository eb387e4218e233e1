// Which operation each control event runs: the one binding table of both windows. A host
// reports raw events (control or window, event, arguments) to an EventSink; the sink looks the
// event up here. An event without a row has no handler.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "ui/control_names.h"

namespace ui {

enum class EventKind {
  kCreated,          // a window was created, before it is first shown
  kPositionChanged,  // a window was placed
  kClicked,          // picture buttons, check boxes
  kTick,             // a timer's period elapsed
  kNotification,     // 热键标签: (hot-key identifier, 0), integer result
  kLeftReleased,     // (x, y, shift state)
  kKeyPressed,       // (virtual-key code, shift state: 1 Ctrl, 2 Shift, 4 Alt)
};

const char* EventKindName(EventKind kind);

enum class Operation {
  kStartUp,
  kCenterMainPanel,
  kPreviousQuestion,
  kNextQuestion,
  kMarkMastered,
  kPaperClockTick,
  kFocusMainWindow,
  kRefreshRightWrongMark,
  kRefreshRightAnswer,
  kRefreshScore,
  kDispatchKeyCommand,
  kAnswerByMouse,  // the option label's letter (OptionLetter) is the answer
  kShowPaperScore,
  kCloseScoreWindow,
};

struct Binding {
  ControlId control;  // a control, or a window itself
  EventKind event;
  Operation operation;
};

std::span<const Binding> EventBindings();

// The operation bound to `event` of `control`; none when it has no handler.
std::optional<Operation> FindBinding(ControlId control, EventKind event);

struct Event {
  ControlId control = MainControl::kWindow;  // the control that raised it, or its window
  EventKind kind = EventKind::kCreated;
  int32_t arg1 = 0;
  int32_t arg2 = 0;
  int32_t arg3 = 0;

  WindowId window() const { return control.window(); }
};

// Where a host delivers events. A host reports a click on a check box without changing the
// model; the sink ticks or unticks the box before the bound operation runs.
class EventSink {
 public:
  virtual ~EventSink() = default;
  // Runs the bound operation to its end (nested events included); the notification's result.
  virtual int32_t Handle(const Event& event) = 0;
};

}  // namespace ui
