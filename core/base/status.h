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

// A value or the Status that explains why there is none.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}          // NOLINT: implicit on purpose
  Result(Status status) : status_(std::move(status)) {}  // NOLINT: implicit on purpose

  bool ok() const { return value_.has_value(); }
  const Status& status() const { return status_; }
  const T& value() const& { return *value_; }
  T& value() & { return *value_; }
  T&& value() && { return std::move(*value_); }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace paylark
