#pragma once
// What an operation that can fail gives back: its value, or the failure with
// the system's error code (0 when no system call failed) and a message a user
// can read as it stands. The one way the core reports a failure that has a
// reason; a bare "no" stays a bool, and an absence that is no failure an
// optional.
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace morvane {

struct Failure {
    int code = 0;
    std::string message;
};

template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Failure& failure() const { return std::get<1>(state_); }
    const std::string& message() const { return failure().message; }
    // The message, or nothing when there is a value (for logs and test output).
    std::string messageIfFailed() const { return ok() ? std::string() : message(); }

private:
    std::variant<T, Failure> state_;
};

// An operation that gives nothing back but can fail: success (default
// constructed, or success()) or the failure.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}
    static Result success() { return {}; }

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }

    const Failure& failure() const { return *failure_; }
    const std::string& message() const { return failure().message; }
    std::string messageIfFailed() const { return ok() ? std::string() : message(); }

private:
    std::optional<Failure> failure_;
};

} // namespace morvane
