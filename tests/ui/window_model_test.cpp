// The window model: both descriptions as data, the typed controls built from them, change
// reports, restoring, the centring of the main panel and the event-binding table.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "text/gbk.h"
#include "ui/event_bindings.h"
#include "ui/gbk_literal.h"
#include "ui/windows.h"

namespace {

using ui::Kind;
using ui::Property;
using M = ui::MainControl;
using S = ui::ScoreControl;

std::string G(const char* utf8) { return text::Utf8ToGbk(utf8); }

class Recorder : public ui::ControlObserver {
 public:
  void ControlChanged(const ui::Control& control, Property property) override {
    changes.emplace_back(std::string(control.name()), property);
  }
  std::vector<std::pair<std::string, Property>> changes;
};

bool IsContainer(Kind kind) {
  return kind == Kind::kPictureBox || kind == Kind::kDrawingPanel || kind == Kind::kShapeBox;
}

TEST(WindowDescription, EveryRowHasItsTypedControlInDescriptionOrder) {
  ui::MainWindow main;
  ui::ScoreWindow score;
  for (const ui::Window* window :
       {static_cast<ui::Window*>(&main), static_cast<ui::Window*>(&score)}) {
    const auto& rows = window->description().controls;
    ASSERT_EQ(window->controls().size(), rows.size());
    std::set<std::string_view> names;
    for (size_t i = 0; i < rows.size(); ++i) {
      const ui::Control* control = window->controls()[i];
      EXPECT_EQ(control->name(), rows[i].name);
      EXPECT_EQ(control->kind(), rows[i].kind);
      EXPECT_EQ(control->id().window(), window->id());
      EXPECT_EQ(window->Find(control->id()), control) << rows[i].name;
      EXPECT_TRUE(names.insert(rows[i].name).second) << "twice: " << rows[i].name;
    }
  }
  EXPECT_EQ(main.controls().size(), 41u);
  EXPECT_EQ(main.Find(M::题目), &main.题目);
  EXPECT_EQ(main.Find(M::分数标签), &main.分数标签);
  EXPECT_EQ(score.Find(S::分数标签), &score.分数标签);
  // Both windows have a 分数标签, and each window finds only its own controls.
  EXPECT_EQ(main.Find(S::分数标签), nullptr);
  EXPECT_EQ(score.Find(M::超文本浏览框1), nullptr);
  EXPECT_EQ(main.Find(M::kWindow), nullptr);
  EXPECT_EQ(main.ParentOf(main.A), &main.图片框1);
  EXPECT_EQ(main.ParentOf(main.标签7), &main.正在出题);
  EXPECT_EQ(main.ParentOf(main.图片框1), nullptr);
  EXPECT_EQ(score.ParentOf(score.分数标签), nullptr);
}

TEST(ControlId, NamesAControlOfOneWindowOrTheWindowItself) {
  EXPECT_EQ(ui::Name(M::热键标签), "热键标签");
  EXPECT_EQ(ui::Name(S::超级链接框1), "超级链接框1");
  EXPECT_EQ(ui::Name(M::kWindow), "");
  EXPECT_EQ(ui::Name(S::kWindow), "");
  // The first row of each window: equal rows, different windows.
  EXPECT_NE(ui::ControlId(M::超文本浏览框1), ui::ControlId(S::超级链接框1));
  EXPECT_NE(ui::ControlId(M::kWindow), ui::ControlId(S::kWindow));
  EXPECT_EQ(ui::ControlId(ui::WindowId::kScore), ui::ControlId(S::kWindow));
  EXPECT_EQ(ui::ControlId(ui::WindowId::kMain), ui::ControlId(M::kWindow));
  EXPECT_TRUE(ui::ControlId(S::kWindow).is_window());
  EXPECT_FALSE(ui::ControlId(M::图片框1).is_window());
  EXPECT_EQ(ui::ControlId(S::分数标签).window(), ui::WindowId::kScore);
  EXPECT_EQ(ui::Event{}.control, ui::ControlId(M::kWindow)) << "an event is the main window's";
}

TEST(ControlId, OnlyTheOptionLabelsGiveALetter) {
  ui::MainWindow w;
  for (M option : {M::A, M::B, M::C, M::D}) {
    const std::optional<char> letter = ui::OptionLetter(option);
    ASSERT_TRUE(letter) << ui::Name(option);
    EXPECT_EQ(std::string(1, *letter), ui::Name(option));
    EXPECT_EQ(w.OptionLabel(*letter), w.Find(option));
  }
  EXPECT_FALSE(ui::OptionLetter(M::题目));
  EXPECT_FALSE(ui::OptionLetter(M::asdf));
  EXPECT_FALSE(ui::OptionLetter(M::kWindow));
  EXPECT_FALSE(ui::OptionLetter(S::超级链接框1));
  EXPECT_EQ(w.OptionLabel('E'), nullptr);
}

TEST(WindowDescription, EveryControlSitsInsideAContainerParent) {
  for (const ui::WindowSpec* window : {&ui::MainWindowSpec(), &ui::ScoreWindowSpec()}) {
    for (const ui::ControlSpec& c : window->controls) {
      int parent_width = window->width;
      int parent_height = window->height;
      if (c.parent) {
        ASSERT_LT(c.parent->row(), window->controls.size()) << c.name;
        const ui::ControlSpec& parent = window->controls[c.parent->row()];
        EXPECT_TRUE(IsContainer(parent.kind)) << c.name << " on " << parent.name;
        parent_width = parent.width;
        parent_height = parent.height;
      }
      EXPECT_GE(c.left, 0) << c.name;
      EXPECT_GE(c.top, 0) << c.name;
      EXPECT_LE(c.left + c.width, parent_width) << c.name;
      EXPECT_LE(c.top + c.height, parent_height) << c.name;
    }
  }
}

TEST(WindowDescription, MainWindowStartsAsDesigned) {
  ui::MainWindow w;
  EXPECT_EQ(w.title(), G("【Plexa】Examora V1.0 "));
  EXPECT_EQ(w.width(), 905);
  EXPECT_EQ(w.height(), 656);
  EXPECT_TRUE(w.启用过滤选择框.ticked());
  EXPECT_TRUE(w.显示对错选择框.ticked());
  EXPECT_FALSE(w.自动下一题选择框.ticked());
  EXPECT_FALSE(w.显示分数选择框.ticked());
  EXPECT_FALSE(w.显示答案选择框.ticked());
  EXPECT_EQ(w.组合框1.selected_text(), "C1C2C3C4");
  EXPECT_EQ(w.组合框1.item_count(), 5);
  EXPECT_EQ(w.组合框1.item(4), "DEF");
  EXPECT_EQ(w.题目.caption(), G("请按 8【出题】"));
  EXPECT_EQ(w.标签8.caption(), G("题   第"));
  EXPECT_EQ(w.A.caption(), " ") << "one blank, not the empty text";
  EXPECT_EQ(w.剩余时间标签.caption(), "00");
  EXPECT_EQ(w.时钟1.period(), 0);
  for (const ui::Control* hidden : std::initializer_list<const ui::Control*>{
           &w.图形按钮1, &w.图形按钮2, &w.图形按钮3, &w.答对的题图片框, &w.正在出题,
           &w.超文本浏览框1, &w.时钟1, &w.数据库}) {
    EXPECT_FALSE(hidden->visible()) << hidden->name();
  }
  EXPECT_TRUE(w.图片框3.visible());
  EXPECT_TRUE(w.图片框3.picture().empty());
  EXPECT_EQ(w.A.pointer(), ui::Pointer::kDefault);
  EXPECT_TRUE(w.题目.description().wraps);
  EXPECT_TRUE(w.您的答案.description().shadow);
  EXPECT_TRUE(w.正确答案.description().shadow);
  EXPECT_EQ(w.分数标签.description().align, ui::Align::kRight);
  EXPECT_EQ(w.图形按钮1.description().button_pictures.size(), 4u);
  EXPECT_TRUE(w.图形按钮1.description().button_pictures[3].empty());

  ui::ScoreWindow s;
  EXPECT_EQ(s.title(), G("本卷分数"));
  EXPECT_EQ(s.超级链接框1.caption(), G("关闭"));
  EXPECT_EQ(s.分数标签.caption(), "98");
}

TEST(ControlModel, ReportsChangesButNotRewritesOfTheSameValue) {
  ui::MainWindow w;
  Recorder recorder;
  w.set_observer(&recorder);
  w.题目.set_caption("x");
  w.题目.set_caption("x");
  w.时钟1.set_period(60000);
  w.时钟1.set_period(60000);  // a running clock keeps its rhythm
  w.A.set_pointer(ui::Pointer::kHand);
  w.图片框3.set_picture("bytes");
  w.图片框3.set_picture("bytes");
  w.启用过滤选择框.set_ticked(true);  // already ticked
  w.组合框1.set_selection(3);
  w.图形按钮1.set_visible(true);
  const std::vector<std::pair<std::string, Property>> expected = {
      {"题目", Property::kCaption},      {"时钟1", Property::kPeriod},
      {"A", Property::kPointer},         {"图片框3", Property::kPicture},
      {"组合框1", Property::kSelection}, {"图形按钮1", Property::kVisible}};
  EXPECT_EQ(recorder.changes, expected);
  EXPECT_EQ(w.组合框1.selected_text(), "M");
}

TEST(ControlModel, SelectionOutsideTheItemsReadsAsTheEmptyText) {
  ui::MainWindow w;
  w.组合框1.set_selection(-1);
  EXPECT_EQ(w.组合框1.selected_text(), "");
  w.组合框1.set_selection(5);
  EXPECT_EQ(w.组合框1.selected_text(), "");
}

TEST(ControlModel, RestoreBringsBackTheDesignAndReportsWhatChanged) {
  ui::ScoreWindow s;
  s.分数标签.set_caption("37");
  Recorder recorder;
  s.set_observer(&recorder);
  s.Restore();
  EXPECT_EQ(s.分数标签.caption(), "98");
  ASSERT_EQ(recorder.changes.size(), 1u);
  EXPECT_EQ(recorder.changes[0].first, "分数标签");

  ui::MainWindow w;
  w.A.set_caption("a");
  w.A.set_pointer(ui::Pointer::kHand);
  w.时钟1.set_period(60000);
  w.图片框3.set_picture("p");
  w.自动下一题选择框.set_ticked(true);
  w.Restore();
  EXPECT_EQ(w.A.caption(), " ");
  EXPECT_EQ(w.A.pointer(), ui::Pointer::kDefault);
  EXPECT_EQ(w.时钟1.period(), 0);
  EXPECT_TRUE(w.图片框3.picture().empty());
  EXPECT_FALSE(w.自动下一题选择框.ticked());
}

TEST(CenterMainPanel, PutsThePanelAt52And28AndMovesNothingElse) {
  ui::MainWindow w;
  EXPECT_EQ(w.图片框1.left(), 8);
  EXPECT_EQ(w.图片框1.top(), 8);
  ui::CenterMainPanel(w);
  EXPECT_EQ(w.图片框1.left(), 52);  // 52.5 truncated
  EXPECT_EQ(w.图片框1.top(), 28);
  EXPECT_EQ(w.题目.left(), 25);
  EXPECT_EQ(w.题目.top(), 98);
}

TEST(EventBindings, NameControlsThatExistAndCanRaiseTheEvent) {
  ui::MainWindow main;
  ui::ScoreWindow score;
  for (const ui::Binding& b : ui::EventBindings()) {
    EXPECT_EQ(ui::FindBinding(b.control, b.event), b.operation) << ui::Name(b.control);
    if (b.control.is_window()) continue;
    const ui::Window& window = b.control.window() == ui::WindowId::kMain
                                   ? static_cast<const ui::Window&>(main)
                                   : static_cast<const ui::Window&>(score);
    const ui::Control* control = window.Find(b.control);
    ASSERT_NE(control, nullptr) << ui::Name(b.control);
    if (b.event == ui::EventKind::kClicked) {
      EXPECT_TRUE(control->kind() == Kind::kPictureButton || control->kind() == Kind::kCheckBox)
          << control->name();
    }
    if (b.event == ui::EventKind::kTick) {
      EXPECT_EQ(control->kind(), Kind::kTimer);
    }
  }
}

TEST(EventBindings, FindTheOperationOfEachWindowAndLeaveOthersUnbound) {
  using ui::EventKind;
  using ui::Operation;
  EXPECT_EQ(ui::FindBinding(M::kWindow, EventKind::kCreated), Operation::kStartUp);
  EXPECT_EQ(ui::FindBinding(S::kWindow, EventKind::kCreated), Operation::kShowPaperScore);
  EXPECT_EQ(ui::FindBinding(S::kWindow, EventKind::kKeyPressed), Operation::kCloseScoreWindow);
  EXPECT_EQ(ui::FindBinding(S::超级链接框1, EventKind::kLeftReleased),
            Operation::kCloseScoreWindow);
  EXPECT_EQ(ui::FindBinding(M::热键标签, EventKind::kNotification), Operation::kDispatchKeyCommand);
  EXPECT_EQ(ui::FindBinding(M::自动下一题选择框, EventKind::kClicked), Operation::kFocusMainWindow);
  for (M option : {M::A, M::B, M::C, M::D}) {
    EXPECT_EQ(ui::FindBinding(option, EventKind::kLeftReleased), Operation::kAnswerByMouse);
  }
  // The main window has no key handler (Esc is the host's), the score label no click handler,
  // and the main window's first row is not the score window's link.
  EXPECT_FALSE(ui::FindBinding(M::kWindow, EventKind::kKeyPressed));
  EXPECT_FALSE(ui::FindBinding(S::分数标签, EventKind::kLeftReleased));
  EXPECT_FALSE(ui::FindBinding(M::题目, EventKind::kLeftReleased));
  EXPECT_FALSE(ui::FindBinding(M::超文本浏览框1, EventKind::kLeftReleased));
  EXPECT_EQ(ui::EventBindings().size(), 19u);
}

// --- The description as the design gives it, written out row by row ---

// Fonts and colours as the design names them.
const ui::Font kNoFont{};  // no font of its own: the host's default, or no text at all
const ui::Font kSong14G{"宋体", 14, false, ui::Charset::kGb2312};
const ui::Font kSong16G{"宋体", 16, false, ui::Charset::kGb2312};
const ui::Font kKai24G{"楷体_GB2312", 24, false, ui::Charset::kGb2312};
const ui::Font kArial12A{"Arial", 12, false, ui::Charset::kAnsi};
const ui::Font kArialBlack48A{"Arial Black", 48, true, ui::Charset::kAnsi};
const ui::Font kGeorgia64A{"Georgia", 64, true, ui::Charset::kAnsi};
constexpr ui::Colour kNoColour = 0xffffffff;  // the design gives none (no text)

enum Look { kPlain, kCentred, kRightAligned, kCentredShadowed, kWrapping };

struct DesignRow {
  const char* name;
  Kind kind;
  const char* parent;  // "" for the window
  int left, top, width, height;
  const char* caption;  // UTF-8; nullptr for a control without caption
  ui::Font font;
  ui::Colour colour;
  bool visible;
  Look look = kPlain;
};

// The main window's controls in description order.
// clang-format off
const std::vector<DesignRow>& MainDesign() {
  static const std::vector<DesignRow> rows = {
      {"超文本浏览框1", Kind::kHtmlViewer, "图片框1", 603, 212, 181, 190, nullptr, kNoFont, kNoColour, false},
      {"答对的题标签", Kind::kTransparentLabel, "答对的题图片框", 56, 5, 24, 12, "0", kNoFont, 0x000000, true},
      {"答对的题图片框", Kind::kPictureBox, "图片框1", 450, 424, 170, 64, nullptr, kNoFont, kNoColour, false},
      {"剩余时间标签", Kind::kTransparentLabel, "对错1", 7, 20, 20, 18, "00",
       {"WST_Engl", 12, true, ui::Charset::kSymbol}, 0xc06000, true},
      {"对错1", Kind::kDrawingPanel, "图片框1", 739, 152, 35, 44, nullptr, kNoFont, kNoColour, true},
      {"图形按钮3", Kind::kPictureButton, "图片框1", 125, 465, 96, 29, nullptr, kNoFont, kNoColour, false},
      {"图形按钮2", Kind::kPictureButton, "图片框1", 21, 465, 96, 29, nullptr, kNoFont, kNoColour, false},
      {"图形按钮1", Kind::kPictureButton, "图片框1", 232, 465, 214, 29, nullptr, kNoFont, kNoColour, false},
      {"标签3", Kind::kLabel, "外形框2", 4, 5, 112, 24, "请选择驾照类型",
       {"Arial", 16, false, ui::Charset::kAnsi}, 0x000000, true},
      {"时钟1", Kind::kTimer, "图片框1", 200, 424, 24, 24, nullptr, kNoFont, kNoColour, false},
      {"及格率标签", Kind::kTransparentLabel, "图片框1", 188, 68, 300, 16, "", kNoFont, 0xc0c0c0, true},
      {"标签7", Kind::kLabel, "正在出题", 31, 53, 72, 24, "正在出题", kSong16G, 0x000000, true},
      {"图片框4", Kind::kPictureBox, "正在出题", 16, 16, 94, 27, nullptr, kNoFont, kNoColour, true},
      {"正在出题", Kind::kPictureBox, "图片框1", 30, 103, 130, 80, nullptr, kNoFont, kNoColour, false},
      {"分标签", Kind::kLabel, "图片框1", 752, 459, 24, 24, "分",
       {"宋体", 16, true, ui::Charset::kGb2312}, 0xff0000, true},
      {"对错", Kind::kDrawingPanel, "图片框1", 314, 416, 48, 48, nullptr, kNoFont, kNoColour, true},
      {"分数标签", Kind::kLabel, "图片框1", 624, 417, 125, 75, "99", kGeorgia64A, 0xff0000, true,
       kRightAligned},
      {"标签10", Kind::kLabel, "图片框1", 703, 178, 16, 16, "题", kSong14G, 0x000000, true},
      {"第标签", Kind::kLabel, "图片框1", 671, 178, 32, 16, "0", kArial12A, 0xff0000, true, kCentred},
      {"标签8", Kind::kLabel, "图片框1", 623, 178, 48, 16, "题   第", kSong14G, 0x000000, true},
      {"共标签", Kind::kLabel, "图片框1", 591, 178, 32, 16, "0", kArial12A, 0xff0000, true, kCentred},
      {"标签2", Kind::kLabel, "图片框1", 575, 178, 16, 16, "共", kSong14G, 0x000000, true},
      {"asdf", Kind::kLabel, "图片框1", 157, 445, 59, 14, "正确答案", kSong14G, 0xc06000, true},
      {"正确答案", Kind::kLabel, "图片框1", 221, 416, 48, 46, "A", kArialBlack48A, 0x008000, true,
       kCentredShadowed},
      {"外形框2", Kind::kShapeBox, "图片框1", 23, 509, 755, 33, nullptr, kNoFont, kNoColour, true},
      {"启用过滤选择框", Kind::kCheckBox, "外形框2", 312, 6, 80, 24, "自动过滤", kSong14G, kNoColour, true},
      {"自动下一题选择框", Kind::kCheckBox, "外形框2", 646, 10, 91, 16, "自动下一题", kSong14G, kNoColour,
       true},
      {"组合框1", Kind::kComboBox, "外形框2", 126, 5, 168, 22, nullptr,
       {"Arial", 14, false, ui::Charset::kAnsi}, kNoColour, true},
      {"显示对错选择框", Kind::kCheckBox, "外形框2", 478, 10, 80, 16, "显示对错", kSong14G, kNoColour, true},
      {"显示分数选择框", Kind::kCheckBox, "外形框2", 561, 10, 80, 16, "显示分数", kSong14G, kNoColour, true},
      {"显示答案选择框", Kind::kCheckBox, "外形框2", 395, 10, 80, 16, "显示答案", kSong14G, kNoColour, true},
      {"您的答案", Kind::kLabel, "图片框1", 93, 416, 48, 46, "A", kArialBlack48A, 0xff0000, true,
       kCentredShadowed},
      {"热键标签", Kind::kLabel, "图片框1", 29, 445, 59, 14, "您的答案", kSong14G, 0xc06000, true},
      {"图片框3", Kind::kPictureBox, "图片框1", 606, 215, 176, 185, nullptr, kNoFont, kNoColour, true},
      {"D", Kind::kLabel, "图片框1", 83, 366, 500, 34, " ", kKai24G, 0x0000ff, true},
      {"C", Kind::kLabel, "图片框1", 83, 314, 500, 34, " ", kKai24G, 0x0000ff, true},
      {"B", Kind::kLabel, "图片框1", 83, 264, 500, 34, " ", kKai24G, 0x0000ff, true},
      {"A", Kind::kLabel, "图片框1", 83, 214, 500, 34, " ", kKai24G, 0x0000ff, true},
      {"题目", Kind::kLabel, "图片框1", 25, 98, 751, 94, "请按 8【出题】", kKai24G, 0xff0000, true,
       kWrapping},
      {"数据库", Kind::kDatabaseUnit, "图片框1", 541, 446, 40, 40, nullptr, kNoFont, kNoColour, false},
      {"图片框1", Kind::kPictureBox, "", 8, 8, 800, 600, nullptr, kNoFont, kNoColour, true},
  };
  return rows;
}

const std::vector<DesignRow>& ScoreDesign() {
  static const std::vector<DesignRow> rows = {
      {"超级链接框1", Kind::kHyperlink, "", 8, 277, 40, 16, "关闭",
       {"宋体", 14, true, ui::Charset::kGb2312}, 0xff9900, true},
      {"分数标签", Kind::kTransparentLabel, "", 216, 8, 120, 64, "98", kGeorgia64A, 0xff0000, true},
  };
  return rows;
}
// clang-format on

std::string FontText(const std::optional<ui::Font>& font) {
  if (!font) return "none";
  return std::string(font->face) + " " + std::to_string(font->pixel_height) +
         (font->bold ? " bold " : " ") + std::to_string(static_cast<int>(font->charset));
}

void ExpectWindowAsDesigned(const ui::Window& window, const std::vector<DesignRow>& design) {
  const auto& rows = window.description().controls;
  ASSERT_EQ(rows.size(), design.size());
  for (size_t i = 0; i < design.size(); ++i) {
    const DesignRow& want = design[i];
    const ui::ControlSpec& row = rows[i];
    SCOPED_TRACE(std::string("row ") + std::to_string(i + 1) + " " + want.name);
    EXPECT_EQ(row.name, want.name);
    EXPECT_EQ(row.kind, want.kind);
    EXPECT_EQ(row.parent ? ui::Name(*row.parent) : std::string_view(), want.parent);
    EXPECT_EQ(row.left, want.left);
    EXPECT_EQ(row.top, want.top);
    EXPECT_EQ(row.width, want.width);
    EXPECT_EQ(row.height, want.height);
    EXPECT_EQ(row.visible, want.visible);
    EXPECT_EQ(FontText(row.font), FontText(want.font.face.empty() ? std::optional<ui::Font>()
                                                                  : std::optional(want.font)));
    if (want.colour != kNoColour) {
      EXPECT_EQ(row.colour, want.colour);
    }
    EXPECT_EQ(row.align, want.look == kCentred || want.look == kCentredShadowed ? ui::Align::kCenter
                         : want.look == kRightAligned                           ? ui::Align::kRight
                                                                                : ui::Align::kLeft);
    EXPECT_EQ(row.shadow, want.look == kCentredShadowed);
    EXPECT_EQ(row.wraps, want.look == kWrapping);

    // The live control starts in the same state.
    const ui::Control* control = window.controls()[i];
    ASSERT_EQ(control->name(), want.name);
    EXPECT_EQ(ui::Name(control->id()), want.name);
    EXPECT_EQ(control->visible(), want.visible);
    EXPECT_EQ(control->left(), want.left);
    EXPECT_EQ(control->top(), want.top);
    if (want.caption != nullptr) {
      EXPECT_EQ(static_cast<const ui::CaptionedControl*>(control)->caption(), G(want.caption));
    }
  }
}

TEST(WindowDescription, MainWindowRowsAreThoseOfTheDesign) {
  ui::MainWindow w;
  const ui::WindowSpec& window = w.description();
  EXPECT_EQ(window.left, 50);
  EXPECT_EQ(window.top, 50);
  EXPECT_EQ(window.width, 905);
  EXPECT_EQ(window.height, 656);
  EXPECT_TRUE(window.topmost);
  EXPECT_FALSE(window.background.empty());
  ExpectWindowAsDesigned(w, MainDesign());

  // Pictures at start: the artwork boxes have theirs, the others none.
  for (const ui::PicturedControl* with : std::initializer_list<const ui::PicturedControl*>{
           &w.答对的题图片框, &w.对错1, &w.图片框4, &w.图片框1}) {
    EXPECT_FALSE(with->description().picture.empty()) << with->name();
  }
  for (const ui::PicturedControl* without :
       std::initializer_list<const ui::PicturedControl*>{&w.正在出题, &w.对错, &w.图片框3}) {
    EXPECT_TRUE(without->description().picture.empty()) << without->name();
    EXPECT_TRUE(without->picture().empty()) << without->name();
  }
  // Check boxes, the class box and the clock.
  EXPECT_TRUE(w.启用过滤选择框.ticked());
  EXPECT_FALSE(w.自动下一题选择框.ticked());
  EXPECT_TRUE(w.显示对错选择框.ticked());
  EXPECT_FALSE(w.显示分数选择框.ticked());
  EXPECT_FALSE(w.显示答案选择框.ticked());
  std::vector<std::string> items;
  for (int i = 0; i < w.组合框1.item_count(); ++i) items.push_back(w.组合框1.item(i));
  EXPECT_EQ(items, (std::vector<std::string>{"C1C2C3C4", "A1A3B1", "A2B2", "M", "DEF"}));
  EXPECT_EQ(w.组合框1.selection(), 0);
  EXPECT_EQ(w.时钟1.period(), 0);
  // Picture buttons: resting look, the highlighted look twice, an empty slot.
  for (const ui::PictureButton* button : {&w.图形按钮1, &w.图形按钮2, &w.图形按钮3}) {
    const auto looks = button->description().button_pictures;
    ASSERT_EQ(looks.size(), 4u) << button->name();
    EXPECT_FALSE(looks[0].empty());
    EXPECT_FALSE(looks[1].empty());
    EXPECT_NE(looks[0], looks[1]);
    EXPECT_EQ(looks[1], looks[2]);
    EXPECT_TRUE(looks[3].empty());
  }
}

TEST(WindowDescription, ScoreWindowRowsAreThoseOfTheDesign) {
  ui::ScoreWindow s;
  const ui::WindowSpec& window = s.description();
  EXPECT_EQ(window.width, 400);
  EXPECT_EQ(window.height, 301);
  EXPECT_FALSE(window.topmost);
  EXPECT_FALSE(window.background.empty());
  ExpectWindowAsDesigned(s, ScoreDesign());
}

TEST(EventBindings, AreExactlyTheDesignedOnes) {
  using ui::EventKind;
  using ui::Operation;
  using ui::WindowId;
  struct Row {
    WindowId window;
    std::string control;
    EventKind event;
    Operation operation;
    bool operator<(const Row& o) const {
      return std::tie(window, control, event, operation) <
             std::tie(o.window, o.control, o.event, o.operation);
    }
    bool operator==(const Row& o) const = default;
  };
  const WindowId kMain = WindowId::kMain;
  std::vector<Row> designed = {
      {kMain, "", EventKind::kCreated, Operation::kStartUp},
      {kMain, "", EventKind::kPositionChanged, Operation::kCenterMainPanel},
      {kMain, "图形按钮2", EventKind::kClicked, Operation::kPreviousQuestion},
      {kMain, "图形按钮3", EventKind::kClicked, Operation::kNextQuestion},
      {kMain, "图形按钮1", EventKind::kClicked, Operation::kMarkMastered},
      {kMain, "时钟1", EventKind::kTick, Operation::kPaperClockTick},
      {kMain, "启用过滤选择框", EventKind::kClicked, Operation::kFocusMainWindow},
      {kMain, "自动下一题选择框", EventKind::kClicked, Operation::kFocusMainWindow},
      {kMain, "显示对错选择框", EventKind::kClicked, Operation::kRefreshRightWrongMark},
      {kMain, "显示答案选择框", EventKind::kClicked, Operation::kRefreshRightAnswer},
      {kMain, "显示分数选择框", EventKind::kClicked, Operation::kRefreshScore},
      {kMain, "热键标签", EventKind::kNotification, Operation::kDispatchKeyCommand},
      {kMain, "A", EventKind::kLeftReleased, Operation::kAnswerByMouse},
      {kMain, "B", EventKind::kLeftReleased, Operation::kAnswerByMouse},
      {kMain, "C", EventKind::kLeftReleased, Operation::kAnswerByMouse},
      {kMain, "D", EventKind::kLeftReleased, Operation::kAnswerByMouse},
      {WindowId::kScore, "", EventKind::kCreated, Operation::kShowPaperScore},
      {WindowId::kScore, "", EventKind::kKeyPressed, Operation::kCloseScoreWindow},
      {WindowId::kScore, "超级链接框1", EventKind::kLeftReleased, Operation::kCloseScoreWindow},
  };
  std::vector<Row> table;
  for (const ui::Binding& b : ui::EventBindings()) {
    table.push_back({b.control.window(), std::string(ui::Name(b.control)), b.event, b.operation});
  }
  std::sort(designed.begin(), designed.end());
  std::sort(table.begin(), table.end());
  EXPECT_EQ(table, designed);
}

TEST(GbkLiteral, ConvertsOnceAndKeysByContent) {
  const std::string& first = ui::G("分");
  EXPECT_EQ(first, "\xB7\xD6");
  EXPECT_EQ(&ui::G("分"), &first);
  std::string built = "题";
  EXPECT_EQ(ui::G(built), "\xCC\xE2");
  built = "目";
  EXPECT_EQ(ui::G(built), "\xC4\xBF") << "a reused buffer must not pick up the old text";
}

}  // namespace
