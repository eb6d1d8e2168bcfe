#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tessra {

// A refusal or failure, worded for the user.
struct Error {
    std::string message;
};

// Either a value or the Error that explains why there is none.
template <class T> class Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const std::string& message() const { return std::get<Error>(state_).message; }

  private:
    std::variant<T, Error> state_;
};

// The result of an operation that gives nothing back but may fail.
class Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error.message)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return error_; }

  private:
    std::string error_;
    bool failed_ = false;
};

} // namespace tessra
