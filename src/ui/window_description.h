// The window description of both windows as data: every control with its kind, parent, place,
// size, content at start, font, colour and visibility. The typed controls (windows.h) start
// from these rows; the host draws from them. Texts here are UTF-8; the model holds them as GBK.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

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
// (picture_names.h); an empty name is no picture.
struct ControlSpec {
  std::string_view name{};
  Kind kind = Kind::kLabel;
  std::string_view parent{};  // empty: the window itself
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

// The row named `name` in `window`, or null.
const ControlSpec* FindControlSpec(const WindowSpec& window, std::string_view name);

}  // namespace ui
