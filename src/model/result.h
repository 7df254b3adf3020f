// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace zelbrook {

// What went wrong, as a sentence a user can read. Whoever knows the file or
// stream involved puts its name in front; only the window shows one.
struct Error {
    std::string message;
};

// The outcome of an operation that can fail: a value, or the Error that
// stopped it.
template <typename T>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_outcome(std::in_place_index<0>, std::move(value))
    {}
    Result(Error error)
        : m_outcome(std::in_place_index<1>, std::move(error))
    {}

    bool ok() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T &value() const & { return std::get<0>(m_outcome); }
    T &value() & { return std::get<0>(m_outcome); }
    T &&value() && { return std::get<0>(std::move(m_outcome)); }
    const T *operator->() const { return &value(); }
    const T &operator*() const & { return value(); }

    const Error &error() const { return std::get<1>(m_outcome); }

private:
    std::variant<T, Error> m_outcome;
};

// The outcome of an operation that gives nothing back but can fail.
template <>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error))
    {}

    bool ok() const { return !m_error; }
    explicit operator bool() const { return ok(); }

    const Error &error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

using Status = Result<void>;

} // namespace zelbrook
