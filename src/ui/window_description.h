// The window description of both windows as data: every control with its kind, parent, place,
// size, content at start, font, colour and visibility. The typed controls (windows.h) start
// from these rows; the host draws from them. Texts here are UTF-8; the model holds them as GBK.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ui/control_names.h"

namespace ui {

enum class Kind {
  kPictureBox,
  kDrawingPanel,
  kShapeBox,
  kLabel,
  kTransparentLabel,
  kCheckBox,
  kComboBox,
  kPictureButton,
  kHyperlink,
  kTimer,
  kHtmlViewer,
  kDatabaseUnit,
};

const char* KindName(Kind kind);

// The kind of control `id` as the control lists give it (the class of its typed member); none
// for a window itself. The description's rows are checked against it when they compile.
constexpr std::optional<Kind> KindOf(ControlId id) {
#define EXAMORA_KIND(name, kind) Kind::k##kind,
  constexpr Kind kMain[] = {EXAMORA_MAIN_WINDOW_CONTROLS(EXAMORA_KIND)};
  constexpr Kind kScore[] = {EXAMORA_SCORE_WINDOW_CONTROLS(EXAMORA_KIND)};
#undef EXAMORA_KIND
  if (id.is_window()) return std::nullopt;
  return id.window() == WindowId::kMain ? kMain[id.row()] : kScore[id.row()];
}

enum class Charset { kAnsi, kGb2312, kSymbol };
enum class Align { kLeft, kCenter, kRight };

struct Font {
  std::string_view face{};  // UTF-8 face name
  int pixel_height = 0;
  bool bold = false;
  Charset charset = Charset::kAnsi;
};

// 0xRRGGBB.
using Colour = uint32_t;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0xff0000;
inline constexpr Colour kBlue = 0x0000ff;
inline constexpr Colour kGreen = 0x008000;
inline constexpr Colour kBrown = 0xc06000;
inline constexpr Colour kGrey = 0xc0c0c0;
inline constexpr Colour kOrange = 0xff9900;

// One row of a window description. Pictures are named by the resource they are drawn from
// (picture_names.h); an empty name is no picture. Rows are in the order of the control lists
// (control_names.h): the row of a control is its ControlId's row.
struct ControlSpec {
  std::string_view name{};
  Kind kind = Kind::kLabel;
  std::optional<ControlId> parent{};  // none: the window itself
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool visible = true;
  std::string_view caption{};                 // labels, check boxes, hyperlinks
  std::string_view picture{};                 // picture boxes and drawing panels
  bool ticked = false;                        // check boxes
  std::span<const std::string_view> items{};  // combo box
  int selection = -1;                         // combo box, 0-based; -1 none
  int period = 0;                             // timer, milliseconds; 0 stopped
  std::optional<Font> font{};                 // none: the host's default font
  Colour colour = kBlack;                     // text colour
  Align align = Align::kLeft;
  bool wraps = false;   // breaks its caption over lines from the top; others: one line, centred
  bool shadow = false;  // caption drawn first in black 2 px right and down
  // Picture buttons: resting look, highlighted look twice, empty slot.
  std::span<const std::string_view> button_pictures{};
};

struct WindowSpec {
  std::string_view title{};  // UTF-8
  int left = 0;              // main window: on the screen; score window: centred by the host
  int top = 0;
  int width = 0;  // outer size
  int height = 0;
  std::string_view background{};  // picture name
  bool topmost = false;
  std::span<const ControlSpec> controls{};  // in description order
};

const WindowSpec& MainWindowSpec();
const WindowSpec& ScoreWindowSpec();

}  // namespace ui
