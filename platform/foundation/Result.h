#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace foundation {

// What went wrong, in words fit for the person reading a log or a tool's output.
struct Error {
    std::string message;
};

// The outcome of an operation that can fail at run time on bad input: either
// its value or an Error. Asking a failed result for its value (or a good one
// for its error) is a programming error.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_storage(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Error error)
        : m_storage(std::in_place_index<1>, std::move(error))
    {
    }

    bool isOk() const { return m_storage.index() == 0; }
    explicit operator bool() const { return isOk(); }

    T& value() &
    {
        assert(isOk());
        return std::get<0>(m_storage);
    }
    const T& value() const&
    {
        assert(isOk());
        return std::get<0>(m_storage);
    }
    T&& value() &&
    {
        assert(isOk());
        return std::get<0>(std::move(m_storage));
    }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const
    {
        assert(!isOk());
        return std::get<1>(m_storage);
    }

    // The value, or nothing for a failure whose reason the caller does not need.
    std::optional<T> toOptional() &&
    {
        if (!isOk())
            return std::nullopt;
        return std::get<0>(std::move(m_storage));
    }

private:
    std::variant<T, Error> m_storage;
};

// The outcome of an operation that yields nothing but can fail: success
// (`return {};`) or an Error.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : m_error(std::move(error))
    {
    }

    bool isOk() const { return !m_error; }
    explicit operator bool() const { return isOk(); }

    const Error& error() const
    {
        assert(!isOk());
        return *m_error;
    }

private:
    std::optional<Error> m_error;
};

} // namespace foundation
