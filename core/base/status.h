#pragma once

#include <optional>
#include <string>
#include <utility>

namespace paylark {

enum class StatusCode { kOk, kNotFound, kAlreadyExists, kCorrupt, kIoError, kInvalidArgument };

// What an operation that can fail reports: a code and a sentence for the user. No exception
// crosses the core's boundary; failures travel as values of this type.
class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status NotFound(std::string message) {
    return {StatusCode::kNotFound, std::move(message)};
  }
  static Status AlreadyExists(std::string message) {
    return {StatusCode::kAlreadyExists, std::move(message)};
  }
  static Status Corrupt(std::string message) { return {StatusCode::kCorrupt, std::move(message)}; }
  static Status IoError(std::string message) { return {StatusCode::kIoError, std::move(message)}; }
  static Status InvalidArgument(std::string message) {
    return {StatusCode::kInvalidArgument, std::move(message)};
  }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// A value or the failed Status that explains why there is none, never neither: a Result made
// from a Status that is ok holds a failure that says so instead of being empty.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Status status)                          // NOLINT: implicit on purpose
      : status_(status.ok() ? Status::InvalidArgument("an operation gave neither a value nor a "
                                                      "failure")
                            : std::move(status)) {}

  bool ok() const { return value_.has_value(); }
  // Ok when there is a value.
  const Status& status() const { return status_; }
  const T& value() const& { return *value_; }
  T& value() & { return *value_; }
  T&& value() && { return std::move(*value_); }

 private:
  std::optional<T> value_;
  Status status_;
};

// What PAYLARK_TRY looks at: a Status itself, or a Result's.
inline const Status& StatusOf(const Status& status) {
  return status;
}
template <class T>
const Status& StatusOf(const Result<T>& result) {
  return result.status();
}

}  // namespace paylark

// Propagates a failure in one line (SerenityOS's TRY): when the Status or Result that the
// expression gives has failed, the calling function returns its Status (which converts to any
// Result). PAYLARK_TRY_ASSIGN(declaration, expression) also takes a Result's value:
//   PAYLARK_TRY_ASSIGN(std::string bytes, files.Read(path, kLimit));
#define PAYLARK_TRY(expression)                                                      \
  do {                                                                               \
    if (auto&& paylarkTried = (expression); !::paylark::StatusOf(paylarkTried).ok()) \
      return ::paylark::StatusOf(paylarkTried);                                      \
  } while (false)
// NOLINTBEGIN(bugprone-macro-parentheses): a declaration and a name stand without parentheses.
#define PAYLARK_CONCATENATE_INNER(a, b) a##b
#define PAYLARK_CONCATENATE(a, b) PAYLARK_CONCATENATE_INNER(a, b)
#define PAYLARK_TRY_ASSIGN(declaration, expression) \
  PAYLARK_TRY_ASSIGN_AT(declaration, expression, PAYLARK_CONCATENATE(paylarkTried, __LINE__))
#define PAYLARK_TRY_ASSIGN_AT(declaration, expression, result) \
  auto result = (expression);                                  \
  if (!result.ok())                                            \
    return result.status();                                    \
  declaration = std::move(result).value()
// NOLINTEND(bugprone-macro-parentheses)
