#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

// The line characteristics a settings text such as "19200,N,8,1" stands for.
struct LineSettings {
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

// Reads "speed,parity,data bits,stop bits" with no blanks: parity N, E, O, M or S, data bits
// 5 to 8, stop bits 1, 1.5 or 2. On failure returns nothing and sets *error to a description
// for a person.
std::optional<LineSettings> parseLineSettings(const QString &text, QString *error);
