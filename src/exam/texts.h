// The fixed texts the exam puts on the screen, GBK.
#pragma once

#include <string>

#include "ui/gbk_literal.h"

namespace exam::texts {

// 题目 in the idle window.
inline const std::string& IdleHint() {
  return ui::G("模拟考试建议使用【小键盘】操作。请按【8】键出题。");
}
// 分标签 beside a shown score.
inline const std::string& ScoreUnit() { return ui::G("分"); }
// 及格率标签 after the mastery counters were cleared, or when clearing failed.
inline const std::string& Cleared() { return ui::G("已经清空过滤记录！"); }
inline const std::string& ClearFailed() { return ui::G("清空过滤记录失败！"); }

}  // namespace exam::texts
