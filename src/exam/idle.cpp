#include "exam/idle.h"

#include "exam/texts.h"
#include "ui/windows.h"

namespace exam {

void ResetToIdle(Context& ctx) {
  ctx.paper.Clear();
  ctx.current_index = 0;
  ui::MainWindow& w = ctx.main;
  w.题目.set_caption(texts::IdleHint());
  for (ui::Label* option : {&w.A, &w.B, &w.C, &w.D}) option->set_caption("");
  for (ui::Label* option : {&w.A, &w.B, &w.C, &w.D}) option->set_pointer(ui::Pointer::kDefault);
  w.图片框3.clear_picture();
  w.您的答案.set_caption("");
  w.对错.clear_picture();
  for (ui::Label* label : {&w.正确答案, &w.分数标签, &w.分标签, &w.共标签, &w.第标签}) {
    label->set_caption("");
  }
  w.图形按钮1.set_visible(false);
  w.图形按钮2.set_visible(false);
  w.图形按钮3.set_visible(false);
  w.及格率标签.set_caption("");
  w.答对的题图片框.set_visible(false);
}

}  // namespace exam
