#pragma once

#include <QString>
#include <utility>
#include <variant>

// Why something could not be done, in words the user can be shown.
struct Failure {
    QString message;
};

// The outcome of every operation of the program that can fail: a value, or
// the message that says why there is none. It cannot be ignored silently.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value)
        : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure)
        : m_state(std::in_place_index<1>, std::move(failure.message)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<0>(m_state); }
    T& value() & { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    // Empty when there is a value.
    QString error() const { return ok() ? QString() : std::get<1>(m_state); }
    // The failure, for passing on to a caller whose result holds another
    // kind of value: return read.failure();
    Failure failure() const {
        Q_ASSERT(!ok());
        return Failure{error()};
    }

private:
    std::variant<T, QString> m_state;
};

// The outcome of an operation that gives nothing back but may fail.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure)
        : m_error(std::move(failure.message))
        , m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const QString& error() const { return m_error; }
    Failure failure() const {
        Q_ASSERT(!ok());
        return Failure{m_error};
    }

private:
    QString m_error;
    bool m_failed = false;
};

using Status = Result<void>;
