// The window model: both descriptions as data, the typed controls built from them, change
// reports, restoring, the centring of the main panel and the event-binding table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "text/gbk.h"
#include "ui/event_bindings.h"
#include "ui/gbk_literal.h"
#include "ui/windows.h"

namespace {

using ui::Kind;
using ui::Property;

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
      EXPECT_EQ(window->controls()[i]->name(), rows[i].name);
      EXPECT_EQ(window->controls()[i]->kind(), rows[i].kind);
      EXPECT_TRUE(names.insert(rows[i].name).second) << "twice: " << rows[i].name;
    }
  }
  EXPECT_EQ(main.controls().size(), 41u);
  EXPECT_EQ(main.Find("题目"), &main.题目);
  EXPECT_EQ(score.Find("分数标签"), &score.分数标签);
  EXPECT_EQ(main.Find("nothing"), nullptr);
}

TEST(WindowDescription, EveryControlSitsInsideAContainerParent) {
  for (const ui::WindowSpec* window : {&ui::MainWindowSpec(), &ui::ScoreWindowSpec()}) {
    for (const ui::ControlSpec& c : window->controls) {
      int parent_width = window->width;
      int parent_height = window->height;
      if (!c.parent.empty()) {
        const ui::ControlSpec* parent = ui::FindControlSpec(*window, c.parent);
        ASSERT_NE(parent, nullptr) << c.name;
        EXPECT_TRUE(IsContainer(parent->kind)) << c.name << " on " << c.parent;
        parent_width = parent->width;
        parent_height = parent->height;
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
    if (b.control.empty()) continue;
    const ui::Window& window = b.window == ui::WindowId::kMain
                                   ? static_cast<const ui::Window&>(main)
                                   : static_cast<const ui::Window&>(score);
    const ui::Control* control = window.Find(b.control);
    ASSERT_NE(control, nullptr) << b.control;
    if (b.event == ui::EventKind::kClicked) {
      EXPECT_TRUE(control->kind() == Kind::kPictureButton || control->kind() == Kind::kCheckBox)
          << b.control;
    }
    if (b.event == ui::EventKind::kTick) {
      EXPECT_EQ(control->kind(), Kind::kTimer);
    }
    EXPECT_EQ(ui::FindBinding(b.window, b.control, b.event), b.operation);
  }
}

TEST(EventBindings, FindTheOperationOfEachWindowAndLeaveOthersUnbound) {
  using ui::EventKind;
  using ui::Operation;
  using ui::WindowId;
  EXPECT_EQ(ui::FindBinding(WindowId::kMain, "", EventKind::kCreated), Operation::kStartUp);
  EXPECT_EQ(ui::FindBinding(WindowId::kScore, "", EventKind::kCreated), Operation::kShowPaperScore);
  EXPECT_EQ(ui::FindBinding(WindowId::kScore, "", EventKind::kKeyPressed),
            Operation::kCloseScoreWindow);
  EXPECT_EQ(ui::FindBinding(WindowId::kScore, "超级链接框1", EventKind::kLeftReleased),
            Operation::kCloseScoreWindow);
  EXPECT_EQ(ui::FindBinding(WindowId::kMain, "热键标签", EventKind::kNotification),
            Operation::kDispatchKeyCommand);
  EXPECT_EQ(ui::FindBinding(WindowId::kMain, "自动下一题选择框", EventKind::kClicked),
            Operation::kFocusMainWindow);
  for (const char* option : {"A", "B", "C", "D"}) {
    EXPECT_EQ(ui::FindBinding(WindowId::kMain, option, EventKind::kLeftReleased),
              Operation::kAnswerByMouse);
  }
  // The main window has no key handler (Esc is the host's), the score label no click handler.
  EXPECT_FALSE(ui::FindBinding(WindowId::kMain, "", EventKind::kKeyPressed));
  EXPECT_FALSE(ui::FindBinding(WindowId::kScore, "分数标签", EventKind::kLeftReleased));
  EXPECT_FALSE(ui::FindBinding(WindowId::kMain, "题目", EventKind::kLeftReleased));
  EXPECT_EQ(ui::EventBindings().size(), 19u);
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
