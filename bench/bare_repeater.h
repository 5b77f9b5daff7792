#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>

// The least a Qt program can do for a held adjuster: a precise 5 ms QTimer that writes the
// 4-byte command straight to a tty, and a socket notifier that reads the answer. No window,
// no QSerialPort. Its CPU time per command is the floor the panel's is measured against.
class BareRepeater {
public:
    static const QByteArray Code; // what it sends, without the carriage return

    BareRepeater() = default;
    ~BareRepeater();
    BareRepeater(const BareRepeater &) = delete;
    BareRepeater &operator=(const BareRepeater &) = delete;

    bool open(const QString &device, QString *error);
    // Sends at once and then every periodMs, as a press does, until stop().
    void start(int periodMs);
    void stop();

private:
    void send();
    void readAnswers();

    int m_fd = -1;
    QTimer m_timer;
    std::unique_ptr<QSocketNotifier> m_answers;
};
