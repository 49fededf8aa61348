// The one error type of the file layer, and the result of a read or write that can fail.
#pragma once

#include <QString>
#include <stdexcept>
#include <utility>
#include <variant>

namespace ordevo {

// A file that cannot be read or written as its format requires. The message, in Japanese,
// names the file and, where there is one, the line:
// "Att_coeff2021.dat の 212 行目: 数値が 6 個しかありません（7 個必要）".
// It is an exception type too, so that loaders that must throw (the scatter kernels) use it.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }

    // "<file> の <n> 行目: <problem>"
    static FileError AtLine(const QString& fileName, int lineNumber, const QString& problem);
    // "<file>: <problem>"
    static FileError InFile(const QString& fileName, const QString& problem);
};

// Either a value or the FileError that prevented it; a stand-in for std::expected, which
// g++ 12 lacks. value() throws the error when there is no value.
template <class T>
class FileResult {
public:
    FileResult(T value) : state_(std::move(value)) {}
    FileResult(FileError error) : state_(std::move(error)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    const T& value() const& {
        if (!has_value()) throw std::get<1>(state_);
        return std::get<0>(state_);
    }
    T& value() & {
        if (!has_value()) throw std::get<1>(state_);
        return std::get<0>(state_);
    }
    T&& value() && {
        if (!has_value()) throw std::get<1>(state_);
        return std::get<0>(std::move(state_));
    }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // Only when !has_value().
    const FileError& error() const { return std::get<1>(state_); }

private:
    std::variant<T, FileError> state_;
};

// The result of a write or of a read that fills something in place: success, or the error. A
// write that fails leaves the old file whole.
template <>
class FileResult<void> {
public:
    FileResult() = default;
    FileResult(FileError error) : error_(std::move(error)), failed_(true) {}

    bool has_value() const { return !failed_; }
    explicit operator bool() const { return has_value(); }
    void value() const {
        if (failed_) throw error_;
    }
    const FileError& error() const { return error_; }

private:
    FileError error_{QString()};
    bool failed_ = false;
};

}  // namespace ordevo
