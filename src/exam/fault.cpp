#include "exam/fault.h"

#include "ui/gbk_literal.h"

namespace exam {
namespace {

base::Unexpected<base::Error> DataFault(int32_t code, std::string gbk_message) {
  return base::Unexpected<base::Error>(
      base::Error{base::ErrorCode::kDataFault, std::move(gbk_message), code});
}

}  // namespace

using ui::G;

base::Unexpected<base::Error> PositionPastEnd() {
  return DataFault(1, G("数组成员引用下标超出定义范围"));
}
base::Unexpected<base::Error> NumberExpected() {
  return DataFault(2, G("未得到所需要的数值型数据"));
}
base::Unexpected<base::Error> PositionBelowOne() {
  return DataFault(4, G("数组成员引用下标必须大于等于1"));
}
base::Unexpected<base::Error> WrongKind() { return DataFault(5, G("数据或数组类型不匹配")); }

std::string FaultReport(const base::Error& fault) {
  return G("运行时出错!") + "\n\n" + G("错误代码：") + std::to_string(fault.fault_code) + "\n\n" +
         G("错误信息：") + fault.message + "\n";
}

const std::string& FaultCaption() { return G("错误"); }

}  // namespace exam
