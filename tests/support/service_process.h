#pragma once

#include <QHash>
#include <QProcess>
#include <QStringList>

// zra70d run as a separate program, as systemd or a person runs it: started with its options,
// ready once it has printed the line "zra70d NAME: serving KEY=HOST:PORT ...", whose addresses
// (pjlink=, line=, ...) it then knows. Ended with SIGTERM; its log is what it wrote on stderr.
class ServiceProcess {
public:
    ~ServiceProcess() { kill(); }

    // Waits for the ready line while running the event loop; false if the program ended or
    // printed nothing within 10 s.
    bool start(const QStringList &arguments);
    // "127.0.0.1:4352" for "pjlink"; empty when not served.
    QString address(const QString &key) const { return m_addresses.value(key); }
    quint16 port(const QString &key) const;
    // SIGTERM, then waits for the end; the exit code, or -1 when it crashed or did not end
    // within 10 s.
    int terminate();
    void kill();
    QByteArray log();
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QHash<QString, QString> m_addresses;
    QByteArray m_log;
};

// A file of the test's, its owner's alone (as zra70d wants a password file) unless anyone
// may read it.
bool writeOwnFile(const QString &path, const QByteArray &text, bool readableByAnyone = false);
