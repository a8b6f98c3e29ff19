#pragma once

#include <QString>
#include <utility>

// The one result of the file helpers and the history: a value, or the
// reason it could not be had, in the user's words (in the manner of
// std::expected<T, QString>). Result<> carries no value.
template <typename T = void> struct Result
{
    bool ok = true;
    QString error; // for the user, when !ok
    T value{};

    explicit operator bool() const { return ok; }
    static Result failure(QString reason) { return Result{false, std::move(reason), T{}}; }
};

template <> struct Result<void>
{
    bool ok = true;
    QString error; // for the user, when !ok

    explicit operator bool() const { return ok; }
    static Result failure(QString reason) { return Result{false, std::move(reason)}; }
};
