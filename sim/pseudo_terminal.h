#pragma once

#include <QString>

// A pseudo-terminal pair in raw mode: the master end is ours, the slave end is the serial
// device a panel opens. The slave is also held open here, so the master never sees a
// hang-up (and never spins) while the panel closes and reopens its port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Opens a new pair; on failure returns false and sets *error.
    bool open(QString *error = nullptr);
    void close();
    bool isOpen() const { return m_master >= 0; }

    int masterFd() const { return m_master; } // non-blocking
    QString slavePath() const { return m_slavePath; }

private:
    int m_master = -1;
    int m_heldSlave = -1;
    QString m_slavePath;
};
