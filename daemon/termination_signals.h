#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the event loop. The handler only writes one
// byte into a pipe (all it may safely do); a socket notifier on the other end emits
// received(). Only one instance may exist at a time, as the handlers are process-wide.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Installs the handlers; false if the pipe or a handler could not be set up.
    bool install();

signals:
    void received();

private:
    void drain();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
