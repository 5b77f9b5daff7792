#pragma once

#include <QString>

// zra70d's log: one line per event on standard error, which the journal keeps under systemd.
// Exchange lines are written only when verbose.
class ServiceLog {
public:
    explicit ServiceLog(bool verbose)
        : m_verbose(verbose)
    {
    }

    void event(const QString &line) const;
    void exchange(const QString &line) const;
    bool isVerbose() const { return m_verbose; }

private:
    bool m_verbose;
};
