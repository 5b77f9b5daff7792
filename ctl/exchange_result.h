#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How an exchange ended: the first ACK, NAK or carriage return in the reply decides; a reply
// with none of them that is still there at the reply timeout is an answer too.
enum class Outcome { Ack, Answer, NoReply, Refused };

// One command and its reply, with the lines the panel would show for them.
struct ExchangeResult {
    QString name;
    QByteArray sent;               // carriage return included
    QString sentLine;              // the sent-traffic line
    QByteArray received;           // every byte collected for this command
    QString receivedLine;          // the received-traffic line (" X X X X" when nothing came)
    std::optional<QString> status; // the status line, for a decoded query reply
    Outcome outcome = Outcome::NoReply;
    std::optional<double> replyMs; // from the write to the reply's last piece
};
