// The names of every control of both windows, in the order of the window description. This is
// the one place they are spelt: the typed members of MainWindow and ScoreWindow, the control
// identifiers and the name constants below are all generated from these two lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// X(name, class of the typed control)
#define EXAMORA_MAIN_WINDOW_CONTROLS(X) \
  X(超文本浏览框1, HtmlViewer)          \
  X(答对的题标签, TransparentLabel)     \
  X(答对的题图片框, PictureBox)         \
  X(剩余时间标签, TransparentLabel)     \
  X(对错1, DrawingPanel)                \
  X(图形按钮3, PictureButton)           \
  X(图形按钮2, PictureButton)           \
  X(图形按钮1, PictureButton)           \
  X(标签3, Label)                       \
  X(时钟1, Timer)                       \
  X(及格率标签, TransparentLabel)       \
  X(标签7, Label)                       \
  X(图片框4, PictureBox)                \
  X(正在出题, PictureBox)               \
  X(分标签, Label)                      \
  X(对错, DrawingPanel)                 \
  X(分数标签, Label)                    \
  X(标签10, Label)                      \
  X(第标签, Label)                      \
  X(标签8, Label)                       \
  X(共标签, Label)                      \
  X(标签2, Label)                       \
  X(asdf, Label)                        \
  X(正确答案, Label)                    \
  X(外形框2, ShapeBox)                  \
  X(启用过滤选择框, CheckBox)           \
  X(自动下一题选择框, CheckBox)         \
  X(组合框1, ComboBox)                  \
  X(显示对错选择框, CheckBox)           \
  X(显示分数选择框, CheckBox)           \
  X(显示答案选择框, CheckBox)           \
  X(您的答案, Label)                    \
  X(热键标签, Label)                    \
  X(图片框3, PictureBox)                \
  X(D, Label)                           \
  X(C, Label)                           \
  X(B, Label)                           \
  X(A, Label)                           \
  X(题目, Label)                        \
  X(数据库, DatabaseUnit)               \
  X(图片框1, PictureBox)

#define EXAMORA_SCORE_WINDOW_CONTROLS(X) \
  X(超级链接框1, Hyperlink)              \
  X(分数标签, TransparentLabel)

namespace ui {

enum class WindowId { kMain, kScore };

// A control of each window as a typed identifier; its value is the control's row in the
// window's description. kWindow, after the last row, stands for the window itself. (Qt's moc,
// which reads this header through the Qt host's headers, cannot parse enumerators spelt in
// Chinese at namespace scope, and needs none of them.)
#ifndef Q_MOC_RUN
#define EXAMORA_ENUMERATOR(name, kind) name,
enum class MainControl : uint8_t { EXAMORA_MAIN_WINDOW_CONTROLS(EXAMORA_ENUMERATOR) kWindow };
enum class ScoreControl : uint8_t { EXAMORA_SCORE_WINDOW_CONTROLS(EXAMORA_ENUMERATOR) kWindow };
#undef EXAMORA_ENUMERATOR
#endif

// One control of either window, or either window itself: what events and bindings name. A
// MainControl or ScoreControl converts to it, so a name that is not in the lists above, or
// not in that window, does not compile.
class ControlId {
 public:
  constexpr ControlId(MainControl control)  // NOLINT: implicit
      : window_(WindowId::kMain), row_(static_cast<uint8_t>(control)) {}
  constexpr ControlId(ScoreControl control)  // NOLINT: implicit
      : window_(WindowId::kScore), row_(static_cast<uint8_t>(control)) {}
  // The window `window` itself.
  constexpr explicit ControlId(WindowId window)
      : ControlId(window == WindowId::kMain ? ControlId(MainControl::kWindow)
                                            : ControlId(ScoreControl::kWindow)) {}

  constexpr WindowId window() const { return window_; }
  constexpr bool is_window() const { return *this == ControlId(window_); }
  // The control's row in its window's description; for the window itself, the number of rows.
  constexpr size_t row() const { return row_; }

  friend constexpr bool operator==(ControlId, ControlId) = default;

 private:
  WindowId window_;
  uint8_t row_;
};

namespace control_names_internal {
#define EXAMORA_NAME_TEXT(name, kind) #name,
inline constexpr std::string_view kMain[] = {EXAMORA_MAIN_WINDOW_CONTROLS(EXAMORA_NAME_TEXT) ""};
inline constexpr std::string_view kScore[] = {EXAMORA_SCORE_WINDOW_CONTROLS(EXAMORA_NAME_TEXT) ""};
#undef EXAMORA_NAME_TEXT
}  // namespace control_names_internal

// The control's name as the description spells it (UTF-8); empty for a window itself. For
// printing (the event log) and for the description's rows; never for finding a control.
constexpr std::string_view Name(ControlId id) {
  return id.window() == WindowId::kMain ? control_names_internal::kMain[id.row()]
                                        : control_names_internal::kScore[id.row()];
}

// Control names as UTF-8 texts, for laying out the description tables. The score window has
// its own namespace because both windows have a control 分数标签.
namespace main_names {
#define EXAMORA_NAME_CONSTANT(name, kind) inline constexpr std::string_view name = #name;
EXAMORA_MAIN_WINDOW_CONTROLS(EXAMORA_NAME_CONSTANT)
}  // namespace main_names

namespace score_names {
EXAMORA_SCORE_WINDOW_CONTROLS(EXAMORA_NAME_CONSTANT)
#undef EXAMORA_NAME_CONSTANT
}  // namespace score_names

}  // namespace ui
