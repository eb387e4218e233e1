// Fatal data errors: a value from the question bank of a kind the logic cannot use, or a
// position outside a list. The operation that meets one stops and hands it up as a value; the
// program shows it in a message box and ends with exit code -1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace exam {

struct Fault {
  int32_t code = 0;
  std::string message;  // GBK
};

// The four faults the program reports. The codes are part of what the learner sees.
Fault PositionPastEnd();   // 1 数组成员引用下标超出定义范围
Fault NumberExpected();    // 2 未得到所需要的数值型数据
Fault PositionBelowOne();  // 4 数组成员引用下标必须大于等于1
Fault WrongKind();         // 5 数据或数组类型不匹配

// The message box text: "运行时出错!", a blank line, "错误代码：" and the code, a blank line,
// "错误信息：" and the message, a line break. GBK.
std::string FaultReport(const Fault& fault);
// The message box caption "错误" (GBK).
const std::string& FaultCaption();

// The outcome of an operation that can meet a fatal data error.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Fault fault) : fault_(std::move(fault)) {}  // NOLINT: implicit
  bool ok() const { return !fault_.has_value(); }
  const Fault& fault() const { return *fault_; }

 private:
  std::optional<Fault> fault_;
};

// A value, or the fault that stopped its computation.
template <typename T>
class [[nodiscard]] Checked {
 public:
  Checked(T value) : state_(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit
  Checked(Fault fault) : state_(std::in_place_index<1>, std::move(fault)) {}  // NOLINT
  bool ok() const { return state_.index() == 0; }
  const T& value() const { return std::get<0>(state_); }
  T& value() { return std::get<0>(state_); }
  const Fault& fault() const { return std::get<1>(state_); }
  Status status() const { return ok() ? Status() : Status(fault()); }

 private:
  std::variant<T, Fault> state_;
};

}  // namespace exam
