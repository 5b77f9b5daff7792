#pragma once

#include <QByteArray>
#include <QString>

// One command to send: the name it was asked for by, its code (sent with a carriage return
// after it) and how long the panel waits for its reply and keeps its traffic on display.
struct Request {
    QString name;
    QByteArray code;
    int replyTimeoutMs = 500;
    int displayClearMs = 1000;
};
