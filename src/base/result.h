// src/base/result.h
// Result<T>: a value or an Error{code, message}, the one error model of every layer below the
// window model. The names follow std::expected so the type can be swapped for it once every
// compiler we build with has <expected>. No exceptions involved.
#pragma once

#include <cassert>
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace base {

enum class ErrorCode {
  kIo,           // the operating system refused a read, write or sync
  kCorrupt,      // bytes that do not form what they claim to be
  kNotFound,     // no such file, table, column or row
  kUnsupported,  // a valid file or statement this program does not handle
  kSyntax,       // a statement that does not parse
  kBadPassword,  // the database password is missing or wrong
  kInvalid,      // an argument or value outside what the operation accepts
  kDataFault,    // a fatal data error of the exam logic, shown to the learner (see fault_code)
};

const char* ErrorCodeName(ErrorCode code);

struct Error {
  ErrorCode code;
  // UTF-8, for logs and tools; GBK for kDataFault, whose message the learner reads.
  std::string message;
  // kDataFault: the number the learner sees with the message (exam/fault.h); 0 otherwise.
  int32_t fault_code = 0;
};

template <typename E>
class Unexpected {
 public:
  explicit Unexpected(E error) : error_(std::move(error)) {}
  E& error() & { return error_; }
  E&& error() && { return std::move(error_); }

 private:
  E error_;
};

inline Unexpected<Error> MakeError(ErrorCode code, std::string message) {
  return Unexpected<Error>(Error{code, std::move(message)});
}

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit
  Result(Unexpected<Error> error)                                        // NOLINT: implicit
      : state_(std::in_place_index<1>, std::move(error).error()) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & {
    assert(has_value());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(has_value());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(has_value());
    return std::get<0>(std::move(state_));
  }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Error& error() const {
    assert(!has_value());
    return std::get<1>(state_);
  }
  Error&& take_error() {
    assert(!has_value());
    return std::get<1>(std::move(state_));
  }

  template <typename U>
  T value_or(U&& fallback) const& {
    return has_value() ? std::get<0>(state_) : static_cast<T>(std::forward<U>(fallback));
  }

 private:
  std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
 public:
  Result() = default;
  Result(Unexpected<Error> error) : error_(std::move(error).error()), ok_(false) {}  // NOLINT

  bool has_value() const { return ok_; }
  explicit operator bool() const { return ok_; }
  const Error& error() const {
    assert(!ok_);
    return error_;
  }
  Error&& take_error() {
    assert(!ok_);
    return std::move(error_);
  }

 private:
  Error error_{ErrorCode::kInvalid, {}};
  bool ok_ = true;
};

inline Result<void> Ok() { return {}; }

inline const char* ErrorCodeName(ErrorCode code) {
  switch (code) {
    case ErrorCode::kIo:
      return "I/O error";
    case ErrorCode::kCorrupt:
      return "corrupt";
    case ErrorCode::kNotFound:
      return "not found";
    case ErrorCode::kUnsupported:
      return "unsupported";
    case ErrorCode::kSyntax:
      return "syntax error";
    case ErrorCode::kBadPassword:
      return "bad password";
    case ErrorCode::kInvalid:
      return "invalid";
    case ErrorCode::kDataFault:
      return "data fault";
  }
  return "error";
}

}  // namespace base

// Propagates the error of a Result expression out of the enclosing function, which must return
// some Result<U>. Keeps call sites short where every step can fail.
#define EXAMORA_TRY(expr)                                                         \
  do {                                                                            \
    auto examora_try_result_ = (expr);                                            \
    if (!examora_try_result_)                                                     \
      return ::base::Unexpected<::base::Error>(examora_try_result_.take_error()); \
  } while (0)

#define EXAMORA_CONCAT_INNER_(a, b) a##b
#define EXAMORA_CONCAT_(a, b) EXAMORA_CONCAT_INNER_(a, b)
// Declares `decl` from the value of a Result expression, or returns its error.
#define EXAMORA_ASSIGN_OR_RETURN(decl, expr)                      \
  auto EXAMORA_CONCAT_(examora_result_, __LINE__) = (expr);       \
  if (!EXAMORA_CONCAT_(examora_result_, __LINE__))                \
    return ::base::Unexpected<::base::Error>(                     \
        EXAMORA_CONCAT_(examora_result_, __LINE__).take_error()); \
  decl = std::move(EXAMORA_CONCAT_(examora_result_, __LINE__)).value()
