#pragma once

#include <optional>
#include <string>
#include <utility>

namespace marlo {

// What a failing platform operation leaves behind: a number (never 0) and a
// description in plain words that can be shown to a user. A cancelled one
// did not fail: the user stopped it, and there is no reason to give. One
// that failed only to flush its change to the disk did make that change:
// every program sees it, but a power cut may still take it back.
struct OpError {
    int number = 0;
    std::string description;
    bool cancelled = false;
    bool changeMade = false;
};

// Outcome of an operation that returns nothing: success, or an OpError.
class Status {
public:
    Status() = default;
    static Status failure(int number, std::string description)
    {
        Status s;
        s.error_ = OpError{number, std::move(description)};
        return s;
    }
    static Status failure(OpError error)
    {
        Status s;
        s.error_ = std::move(error);
        return s;
    }
    // An operation that the user stopped, with the host's number for it.
    static Status cancelled(int number, std::string description)
    {
        return failure(OpError{number, std::move(description), true});
    }
    // An operation that made its change but could not flush it to the disk.
    static Status unflushed(int number, std::string description)
    {
        return failure(OpError{number, std::move(description), false, true});
    }

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const OpError& error() const { return *error_; }

private:
    std::optional<OpError> error_;
};

// The same failure, its words preceded by what it stood in the way of
// ("the backup MARLOmdb.ba4 cannot move up: the file is read-only").
inline Status because(const Status& failed, const std::string& what)
{
    OpError error = failed.error();
    error.description = what + ": " + error.description;
    return Status::failure(std::move(error));
}

// Outcome of an operation that returns a value: the value, or an OpError.
template <class T> class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failed) : error_(failed.error()) {}
    static Result failure(int number, std::string description)
    {
        return Result(Status::failure(number, std::move(description)));
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const OpError& error() const { return error_; }
    Status status() const { return ok() ? Status() : Status::failure(error_); }

private:
    std::optional<T> value_;
    OpError error_;
};

} // namespace marlo
