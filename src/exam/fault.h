// Fatal data errors: a value from the question bank of a kind the logic cannot use, or a
// position outside a list. The operation that meets one stops and hands it up as the error of
// its base::Result; the program shows it in a message box and ends with exit code -1.
#pragma once

#include <string>

#include "base/result.h"

namespace exam {

// The four faults the program reports, each a base::Error of code kDataFault with its number in
// fault_code and its text (GBK) in message, ready to return from a function giving a Result.
// The numbers and texts are part of what the learner sees.
base::Unexpected<base::Error> PositionPastEnd();   // 1 数组成员引用下标超出定义范围
base::Unexpected<base::Error> NumberExpected();    // 2 未得到所需要的数值型数据
base::Unexpected<base::Error> PositionBelowOne();  // 4 数组成员引用下标必须大于等于1
base::Unexpected<base::Error> WrongKind();         // 5 数据或数组类型不匹配

// The message box text: "运行时出错!", a blank line, "错误代码：" and the fault code, a blank
// line, "错误信息：" and the message, a line break. GBK.
std::string FaultReport(const base::Error& fault);
// The message box caption "错误" (GBK).
const std::string& FaultCaption();

}  // namespace exam
