// How an engine operation reports failure: success, or a failure that keeps
// its reason. New engine code returns a KXStatus (or KXResult<T> when there
// is a value) instead of 0/1 ints or bools; the C boundary turns it into the
// exports' 0/1/-1 results once and sends the reason to the debug output.
#pragma once

#include <string>
#include <utility>

class [[nodiscard]] KXStatus {
public:
    KXStatus() = default;  // success

    static KXStatus Failure(std::string reason) {
        KXStatus status;
        status.m_failed = true;
        status.m_reason = std::move(reason);
        return status;
    }

    bool IsOk() const noexcept { return !m_failed; }
    explicit operator bool() const noexcept { return !m_failed; }
    // Empty on success.
    const std::string& Reason() const noexcept { return m_reason; }

private:
    bool m_failed = false;
    std::string m_reason;
};

// A value, or the failure that kept it from being made.
template <class T>
class [[nodiscard]] KXResult {
public:
    KXResult(T value) : m_value(std::move(value)) {}              // NOLINT: a value is a success
    KXResult(KXStatus failure) : m_status(std::move(failure)) {}  // NOLINT

    bool IsOk() const noexcept { return m_status.IsOk(); }
    explicit operator bool() const noexcept { return m_status.IsOk(); }
    const KXStatus& Status() const noexcept { return m_status; }
    // Only meaningful on success.
    const T& Value() const noexcept { return m_value; }
    T& Value() noexcept { return m_value; }

private:
    T m_value{};
    KXStatus m_status;
};
