#pragma once

#include <QString>

// The outcome of a serial operation: success, or a failure with a description for a person.
class PortStatus {
public:
    static PortStatus success() { return PortStatus(); }
    static PortStatus failure(QString description) { return PortStatus(std::move(description)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return isOk(); }
    const QString &description() const { return m_description; }

private:
    PortStatus() = default;
    explicit PortStatus(QString description)
        : m_failed(true)
        , m_description(std::move(description))
    {
    }

    bool m_failed = false;
    QString m_description;
};
