#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tramble {

// What a monitor read gives: a value, or no reading. A missing reading may
// carry one of the monitors' fixed English messages for the tray to show.
template <class T> class TReading {
public:
    TReading(T value) : m_state(std::move(value)) {}

    static TReading None() { return TReading(Missing{}); }
    static TReading Error(std::string message) { return TReading(Missing{std::move(message)}); }

    bool Ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return Ok(); }

    // Only for a reading that is Ok(); anything else raises std::bad_variant_access.
    const T& Value() const { return std::get<T>(m_state); }
    T& Value() { return std::get<T>(m_state); }
    T ValueOr(T fallback) const { return Ok() ? Value() : std::move(fallback); }

    // The message of a failed read; empty for a value or a plain "no reading".
    const std::string& Message() const
    {
        static const std::string kEmpty;
        return Ok() ? kEmpty : std::get<Missing>(m_state).message;
    }

private:
    struct Missing {
        std::string message;
    };
    explicit TReading(Missing missing) : m_state(std::move(missing)) {}

    std::variant<T, Missing> m_state;
};

// The outcome of an operation that has no value of its own.
using TStatus = TReading<std::monostate>;

inline TStatus StatusOk()
{
    return TStatus(std::monostate{});
}

} // namespace tramble
