// The two window descriptions, row by row in description order.
#include "ui/window_description.h"

#include <array>

#include "ui/control_names.h"
#include "ui/picture_names.h"

namespace ui {
namespace {

namespace m = main_names;
namespace s = score_names;
namespace p = pictures;
using M = MainControl;  // parents are identifiers: a row's parent is a control of its window

constexpr Font kSong14{"宋体", 14, false, Charset::kGb2312};
constexpr Font kSong16{"宋体", 16, false, Charset::kGb2312};
constexpr Font kKai24{"楷体_GB2312", 24, false, Charset::kGb2312};
constexpr Font kArial12{"Arial", 12, false, Charset::kAnsi};
constexpr Font kArialBlack48{"Arial Black", 48, true, Charset::kAnsi};
constexpr Font kGeorgia64{"Georgia", 64, true, Charset::kAnsi};

constexpr std::array<std::string_view, 5> kLicenceClasses = {"C1C2C3C4", "A1A3B1", "A2B2", "M",
                                                             "DEF"};
constexpr std::array<std::string_view, 4> kNextLooks = {p::kNextRest, p::kNextLit, p::kNextLit, ""};
constexpr std::array<std::string_view, 4> kPreviousLooks = {p::kPreviousRest, p::kPreviousLit,
                                                            p::kPreviousLit, ""};
constexpr std::array<std::string_view, 4> kMasteredLooks = {p::kMasteredRest, p::kMasteredLit,
                                                            p::kMasteredLit, ""};

// An option label: one blank at design time, the answers' font, blue.
constexpr ControlSpec Option(std::string_view name, int top) {
  return {.name = name,
          .kind = Kind::kLabel,
          .parent = M::图片框1,
          .left = 83,
          .top = top,
          .width = 500,
          .height = 34,
          .caption = " ",
          .font = kKai24,
          .colour = kBlue};
}

// clang-format off
constexpr ControlSpec kMainControls[] = {
    {.name = m::超文本浏览框1, .kind = Kind::kHtmlViewer, .parent = M::图片框1, .left = 603,
     .top = 212, .width = 181, .height = 190, .visible = false},
    {.name = m::答对的题标签, .kind = Kind::kTransparentLabel, .parent = M::答对的题图片框,
     .left = 56, .top = 5, .width = 24, .height = 12, .caption = "0"},
    {.name = m::答对的题图片框, .kind = Kind::kPictureBox, .parent = M::图片框1, .left = 450,
     .top = 424, .width = 170, .height = 64, .visible = false, .picture = p::kBadge},
    {.name = m::剩余时间标签, .kind = Kind::kTransparentLabel, .parent = M::对错1, .left = 7,
     .top = 20, .width = 20, .height = 18, .caption = "00",
     .font = Font{"WST_Engl", 12, true, Charset::kSymbol}, .colour = kBrown},
    {.name = m::对错1, .kind = Kind::kDrawingPanel, .parent = M::图片框1, .left = 739, .top = 152,
     .width = 35, .height = 44, .picture = p::kStopwatch},
    {.name = m::图形按钮3, .kind = Kind::kPictureButton, .parent = M::图片框1, .left = 125,
     .top = 465, .width = 96, .height = 29, .visible = false, .button_pictures = kNextLooks},
    {.name = m::图形按钮2, .kind = Kind::kPictureButton, .parent = M::图片框1, .left = 21,
     .top = 465, .width = 96, .height = 29, .visible = false, .button_pictures = kPreviousLooks},
    {.name = m::图形按钮1, .kind = Kind::kPictureButton, .parent = M::图片框1, .left = 232,
     .top = 465, .width = 214, .height = 29, .visible = false, .button_pictures = kMasteredLooks},
    {.name = m::标签3, .kind = Kind::kLabel, .parent = M::外形框2, .left = 4, .top = 5,
     .width = 112, .height = 24, .caption = "请选择驾照类型",
     .font = Font{"Arial", 16, false, Charset::kAnsi}},
    {.name = m::时钟1, .kind = Kind::kTimer, .parent = M::图片框1, .left = 200, .top = 424,
     .width = 24, .height = 24, .visible = false, .period = 0},
    {.name = m::及格率标签, .kind = Kind::kTransparentLabel, .parent = M::图片框1, .left = 188,
     .top = 68, .width = 300, .height = 16, .caption = "", .colour = kGrey},
    {.name = m::标签7, .kind = Kind::kLabel, .parent = M::正在出题, .left = 31, .top = 53,
     .width = 72, .height = 24, .caption = "正在出题", .font = kSong16},
    {.name = m::图片框4, .kind = Kind::kPictureBox, .parent = M::正在出题, .left = 16, .top = 16,
     .width = 94, .height = 27, .picture = p::kSpinner},
    {.name = m::正在出题, .kind = Kind::kPictureBox, .parent = M::图片框1, .left = 30, .top = 103,
     .width = 130, .height = 80, .visible = false},
    {.name = m::分标签, .kind = Kind::kLabel, .parent = M::图片框1, .left = 752, .top = 459,
     .width = 24, .height = 24, .caption = "分",
     .font = Font{"宋体", 16, true, Charset::kGb2312}, .colour = kRed},
    {.name = m::对错, .kind = Kind::kDrawingPanel, .parent = M::图片框1, .left = 314, .top = 416,
     .width = 48, .height = 48},
    {.name = m::分数标签, .kind = Kind::kLabel, .parent = M::图片框1, .left = 624, .top = 417,
     .width = 125, .height = 75, .caption = "99", .font = kGeorgia64, .colour = kRed,
     .align = Align::kRight},
    {.name = m::标签10, .kind = Kind::kLabel, .parent = M::图片框1, .left = 703, .top = 178,
     .width = 16, .height = 16, .caption = "题", .font = kSong14},
    {.name = m::第标签, .kind = Kind::kLabel, .parent = M::图片框1, .left = 671, .top = 178,
     .width = 32, .height = 16, .caption = "0", .font = kArial12, .colour = kRed,
     .align = Align::kCenter},
    {.name = m::标签8, .kind = Kind::kLabel, .parent = M::图片框1, .left = 623, .top = 178,
     .width = 48, .height = 16, .caption = "题   第", .font = kSong14},
    {.name = m::共标签, .kind = Kind::kLabel, .parent = M::图片框1, .left = 591, .top = 178,
     .width = 32, .height = 16, .caption = "0", .font = kArial12, .colour = kRed,
     .align = Align::kCenter},
    {.name = m::标签2, .kind = Kind::kLabel, .parent = M::图片框1, .left = 575, .top = 178,
     .width = 16, .height = 16, .caption = "共", .font = kSong14},
    {.name = m::asdf, .kind = Kind::kLabel, .parent = M::图片框1, .left = 157, .top = 445,
     .width = 59, .height = 14, .caption = "正确答案", .font = kSong14, .colour = kBrown},
    {.name = m::正确答案, .kind = Kind::kLabel, .parent = M::图片框1, .left = 221, .top = 416,
     .width = 48, .height = 46, .caption = "A", .font = kArialBlack48, .colour = kGreen,
     .align = Align::kCenter, .shadow = true},
    {.name = m::外形框2, .kind = Kind::kShapeBox, .parent = M::图片框1, .left = 23, .top = 509,
     .width = 755, .height = 33},
    {.name = m::启用过滤选择框, .kind = Kind::kCheckBox, .parent = M::外形框2, .left = 312,
     .top = 6, .width = 80, .height = 24, .caption = "自动过滤", .ticked = true,
     .font = kSong14},
    {.name = m::自动下一题选择框, .kind = Kind::kCheckBox, .parent = M::外形框2, .left = 646,
     .top = 10, .width = 91, .height = 16, .caption = "自动下一题", .ticked = false,
     .font = kSong14},
    {.name = m::组合框1, .kind = Kind::kComboBox, .parent = M::外形框2, .left = 126, .top = 5,
     .width = 168, .height = 22, .items = kLicenceClasses, .selection = 0,
     .font = Font{"Arial", 14, false, Charset::kAnsi}},
    {.name = m::显示对错选择框, .kind = Kind::kCheckBox, .parent = M::外形框2, .left = 478,
     .top = 10, .width = 80, .height = 16, .caption = "显示对错", .ticked = true,
     .font = kSong14},
    {.name = m::显示分数选择框, .kind = Kind::kCheckBox, .parent = M::外形框2, .left = 561,
     .top = 10, .width = 80, .height = 16, .caption = "显示分数", .ticked = false,
     .font = kSong14},
    {.name = m::显示答案选择框, .kind = Kind::kCheckBox, .parent = M::外形框2, .left = 395,
     .top = 10, .width = 80, .height = 16, .caption = "显示答案", .ticked = false,
     .font = kSong14},
    {.name = m::您的答案, .kind = Kind::kLabel, .parent = M::图片框1, .left = 93, .top = 416,
     .width = 48, .height = 46, .caption = "A", .font = kArialBlack48, .colour = kRed,
     .align = Align::kCenter, .shadow = true},
    {.name = m::热键标签, .kind = Kind::kLabel, .parent = M::图片框1, .left = 29, .top = 445,
     .width = 59, .height = 14, .caption = "您的答案", .font = kSong14, .colour = kBrown},
    {.name = m::图片框3, .kind = Kind::kPictureBox, .parent = M::图片框1, .left = 606, .top = 215,
     .width = 176, .height = 185},
    Option(m::D, 366),
    Option(m::C, 314),
    Option(m::B, 264),
    Option(m::A, 214),
    {.name = m::题目, .kind = Kind::kLabel, .parent = M::图片框1, .left = 25, .top = 98,
     .width = 751, .height = 94, .caption = "请按 8【出题】", .font = kKai24, .colour = kRed,
     .wraps = true},
    {.name = m::数据库, .kind = Kind::kDatabaseUnit, .parent = M::图片框1, .left = 541, .top = 446,
     .width = 40, .height = 40, .visible = false},
    {.name = m::图片框1, .kind = Kind::kPictureBox, .left = 8, .top = 8, .width = 800,
     .height = 600, .picture = p::kMainPanel},
};

constexpr ControlSpec kScoreControls[] = {
    {.name = s::超级链接框1, .kind = Kind::kHyperlink, .left = 8, .top = 277, .width = 40,
     .height = 16, .caption = "关闭", .font = Font{"宋体", 14, true, Charset::kGb2312},
     .colour = kOrange},
    {.name = s::分数标签, .kind = Kind::kTransparentLabel, .left = 216, .top = 8, .width = 120,
     .height = 64, .caption = "98", .font = kGeorgia64, .colour = kRed},
};
// clang-format on

// The rows follow the control lists: row i is the control whose identifier's row is i, of the
// kind its typed member has, and every parent is a control of the same window. Typed members,
// identifiers and rows therefore cannot drift apart.
template <typename Id, size_t N>
constexpr bool FollowTheList(const ControlSpec (&rows)[N]) {
  if (N != static_cast<size_t>(Id::kWindow)) return false;
  const WindowId window = ControlId(Id::kWindow).window();
  for (size_t i = 0; i < N; ++i) {
    const ControlId id(static_cast<Id>(i));
    if (rows[i].name != Name(id) || rows[i].kind != KindOf(id)) return false;
    const std::optional<ControlId> parent = rows[i].parent;
    if (parent && (parent->window() != window || parent->is_window())) return false;
  }
  return true;
}
static_assert(FollowTheList<MainControl>(kMainControls));
static_assert(FollowTheList<ScoreControl>(kScoreControls));

const WindowSpec kMainWindow{.title = "【Plexa】Examora V1.0 ",
                             .left = 50,
                             .top = 50,
                             .width = 905,
                             .height = 656,
                             .background = p::kMainWindow,
                             .topmost = true,
                             .controls = kMainControls};

const WindowSpec kScoreWindow{.title = "本卷分数",
                              .width = 400,
                              .height = 301,
                              .background = p::kScoreWindow,
                              .controls = kScoreControls};

}  // namespace

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kPictureBox:
      return "picture box";
    case Kind::kDrawingPanel:
      return "drawing panel";
    case Kind::kShapeBox:
      return "shape box";
    case Kind::kLabel:
      return "label";
    case Kind::kTransparentLabel:
      return "transparent label";
    case Kind::kCheckBox:
      return "check box";
    case Kind::kComboBox:
      return "combo box";
    case Kind::kPictureButton:
      return "picture button";
    case Kind::kHyperlink:
      return "hyperlink";
    case Kind::kTimer:
      return "timer";
    case Kind::kHtmlViewer:
      return "HTML viewer";
    case Kind::kDatabaseUnit:
      return "database unit";
  }
  return "control";
}

const WindowSpec& MainWindowSpec() { return kMainWindow; }
const WindowSpec& ScoreWindowSpec() { return kScoreWindow; }

}  // namespace ui
