#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One command to send: the name it was asked for by, its code (sent with a carriage return
// after it) and how long to wait for its reply and keep its traffic on display.
struct Request {
    QString name;
    QByteArray code;
    int replyTimeoutMs = 500;
    int displayClearMs = 1000;
};

// How an exchange ended: the first ACK, NAK or carriage return in the reply decides; a reply
// with none of them that is still there at the reply timeout is an answer too. LineLost: the
// line was down or went down before the exchange could end.
enum class Outcome { Ack, Answer, NoReply, Refused, LineLost };

// One command and its reply, with the lines the panel would show for them.
struct ExchangeResult {
    QString name;
    QByteArray code;
    QByteArray sent;               // carriage return included
    QString sentLine;              // the sent-traffic line
    QByteArray received;           // every byte collected for this command
    QString receivedLine;          // the received-traffic line (" X X X X" when nothing came)
    std::optional<QString> status; // the status line, for a decoded query reply
    Outcome outcome = Outcome::NoReply;
    std::optional<double> replyMs; // from the write to the reply's last piece
};

// The outcome a collection of reply bytes stands for.
Outcome outcomeOf(QByteArrayView collected);
