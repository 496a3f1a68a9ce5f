#pragma once

#include <string>
#include <utility>
#include <variant>

namespace platform {

// The kinds of failure callers branch on. The message is for people; code never
// inspects it.
enum class Errc {
  kOk = 0,
  kNotFound,
  kCorrupt,
  kIo,
  kTimeout,
  kBusy,
  kBadArgument,
  kCancelled,
  kUnsupported,
  kPermission,
};

// The outcome of an operation. Cheap when all is well. `code` carries a numeric value
// the outside world expects (a link error, a host-interface result) where one exists.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Errc kind, std::string message, int code = 0)
      : kind_(kind), code_(code), message_(std::move(message)) {}

  static Status ok() { return Status(); }
  static Status notFound(std::string m) { return {Errc::kNotFound, std::move(m)}; }
  static Status corrupt(std::string m) { return {Errc::kCorrupt, std::move(m)}; }
  static Status io(std::string m, int code = 0) { return {Errc::kIo, std::move(m), code}; }
  static Status timeout(std::string m) { return {Errc::kTimeout, std::move(m)}; }
  static Status busy(std::string m) { return {Errc::kBusy, std::move(m)}; }
  static Status badArgument(std::string m) { return {Errc::kBadArgument, std::move(m)}; }
  static Status cancelled(std::string m) { return {Errc::kCancelled, std::move(m)}; }
  static Status unsupported(std::string m) { return {Errc::kUnsupported, std::move(m)}; }

  bool isOk() const { return kind_ == Errc::kOk; }
  explicit operator bool() const { return isOk(); }
  Errc kind() const { return kind_; }
  int code() const { return code_; }
  const std::string& message() const { return message_; }
  // "kind: message", for people.
  std::string toString() const;

 private:
  Errc kind_ = Errc::kOk;
  int code_ = 0;
  std::string message_;
};

// A value or the Status that explains its absence.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}                    // NOLINT: implicit by design
  Result(Status status) : v_(std::move(status)) {}             // NOLINT: implicit by design
  Result(Errc kind, std::string message, int code = 0) : v_(Status(kind, std::move(message), code)) {}

  bool isOk() const { return std::holds_alternative<T>(v_); }
  explicit operator bool() const { return isOk(); }

  // REQUIRES: isOk()
  T& value() & { return std::get<T>(v_); }
  const T& value() const& { return std::get<T>(v_); }
  T&& value() && { return std::get<T>(std::move(v_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  // Status::ok() when a value is held.
  Status status() const { return isOk() ? Status() : std::get<Status>(v_); }

 private:
  std::variant<T, Status> v_;
};

}  // namespace platform
