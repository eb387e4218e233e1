#include "exam/fault.h"

#include "ui/gbk_literal.h"

namespace exam {

using ui::G;

Fault PositionPastEnd() { return {1, G("数组成员引用下标超出定义范围")}; }
Fault NumberExpected() { return {2, G("未得到所需要的数值型数据")}; }
Fault PositionBelowOne() { return {4, G("数组成员引用下标必须大于等于1")}; }
Fault WrongKind() { return {5, G("数据或数组类型不匹配")}; }

std::string FaultReport(const Fault& fault) {
  return G("运行时出错!") + "\n\n" + G("错误代码：") + std::to_string(fault.code) + "\n\n" +
         G("错误信息：") + fault.message + "\n";
}

const std::string& FaultCaption() { return G("错误"); }

}  // namespace exam
