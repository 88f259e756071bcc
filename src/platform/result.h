// Outcome of an operation that can be refused: a value, or the system's message about why not.
#pragma once
#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace orvo {

// A refusal as the user sees it: UTF-8 text and the caption of its message box. A fatal error
// ("FATAL ERROR") means the caller must end the program after showing it.
struct Error {
    std::string text;
    std::string caption = "Ошибка";
    bool fatal = false;
};

template <class T> class Result {
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Error error) : m_v(std::move(error)) {}

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() {
        assert(ok());
        return std::get<0>(m_v);
    }
    const T& value() const {
        assert(ok());
        return std::get<0>(m_v);
    }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    const Error& error() const {
        assert(!ok());
        return std::get<1>(m_v);
    }

private:
    std::variant<T, Error> m_v;
};

struct Done {};
using Status = Result<Done>;
inline Status success() {
    return Done{};
}

} // namespace orvo
