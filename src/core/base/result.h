#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tessra {

// A refusal or failure, worded for the user.
struct Error {
    std::string message;
    // The request itself was malformed (a wrong command line), not its input.
    bool usage = false;
};

class Status;

// Either a value or the Error that explains why there is none.
template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}
    // A failure of another kind passes on as this kind's failure; only a failed
    // result may be passed on so (a value would be lost).
    template <class U>
    Result(const Result<U>& failed) requires(!std::is_same_v<U, T>) : state_(failed.error()) {}
    // The same for a failed status.
    Result(const Status& failed);

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<T>(state_); }
    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const std::string& message() const { return error().message; }
    // Throws std::bad_variant_access when there is a value.
    const Error& error() const { return std::get<Error>(state_); }

  private:
    std::variant<T, Error> state_;
};

// The result of an operation that gives nothing back but may fail.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Error error) : error_(std::move(error)) {}
    // A failed result of any kind passes on as a failed status.
    template <class U> Status(const Result<U>& failed) : error_(failed.error()) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return error_ ? error_->message : NoMessage(); }
    // Throws std::bad_optional_access when there was no failure.
    const Error& error() const { return error_.value(); }

  private:
    static const std::string& NoMessage() {
        static const std::string empty;
        return empty;
    }

    std::optional<Error> error_;
};

template <class T> Result<T>::Result(const Status& failed) : state_(failed.error()) {}

} // namespace tessra
