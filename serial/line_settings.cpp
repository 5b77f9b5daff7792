#include "line_settings.h"

#include <QStringList>

namespace {

constexpr qsizetype MaxTextLength = 40;
constexpr qint64 MinBaudRate = 50;
constexpr qint64 MaxBaudRate = 4000000;
const QString Example = QStringLiteral("\"19200,N,8,1\"");

bool isPrintableAscii(QChar c)
{
    return c.unicode() > 32 && c.unicode() < 127;
}

// The text as it can be shown in a message: blanks, control and non-ASCII characters as '?'.
QString quoted(const QString &text)
{
    QString shown = text;
    for (QChar &c : shown) {
        if (!isPrintableAscii(c))
            c = QLatin1Char('?');
    }
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

std::optional<qint32> readBaudRate(const QString &field)
{
    if (field.isEmpty())
        return std::nullopt;
    for (QChar c : field) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    if (!ok || value < MinBaudRate || value > MaxBaudRate)
        return std::nullopt;
    return qint32(value);
}

std::optional<QSerialPort::Parity> readParity(const QString &field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.at(0).toUpper().unicode()) {
    case 'N':
        return QSerialPort::NoParity;
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

std::optional<QSerialPort::DataBits> readDataBits(const QString &field)
{
    if (field == QLatin1String("5"))
        return QSerialPort::Data5;
    if (field == QLatin1String("6"))
        return QSerialPort::Data6;
    if (field == QLatin1String("7"))
        return QSerialPort::Data7;
    if (field == QLatin1String("8"))
        return QSerialPort::Data8;
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> readStopBits(const QString &field)
{
    if (field == QLatin1String("1"))
        return QSerialPort::OneStop;
    if (field == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    if (field == QLatin1String("2"))
        return QSerialPort::TwoStop;
    return std::nullopt;
}

std::optional<LineSettings> fail(QString *error, const QString &description)
{
    if (error)
        *error = description;
    return std::nullopt;
}

QString fieldError(const QString &text, const char *what, const char *allowed, const QString &field)
{
    return QStringLiteral("The %1 in the port settings %2 must be %3, not %4.")
        .arg(QLatin1String(what), quoted(text), QLatin1String(allowed), quoted(field));
}

} // namespace

std::optional<LineSettings> parseLineSettings(const QString &text, QString *error)
{
    if (text.isEmpty())
        return fail(error,
                    QStringLiteral("The port settings are empty; expected a text such as %1.")
                        .arg(Example));
    if (text.size() > MaxTextLength)
        return fail(error,
                    QStringLiteral("The port settings are too long (%1 characters); expected "
                                   "a text such as %2.")
                        .arg(text.size())
                        .arg(Example));
    for (QChar c : text) {
        if (!isPrintableAscii(c))
            return fail(error,
                        QStringLiteral("The port settings %1 contain a blank or an unexpected "
                                       "character; expected a text such as %2.")
                            .arg(quoted(text), Example));
    }

    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return fail(error, QStringLiteral("The port settings %1 must have four parts separated by "
                                          "commas: speed, parity, data bits and stop bits, such "
                                          "as %2.")
                               .arg(quoted(text), Example));

    LineSettings settings;
    if (const auto baudRate = readBaudRate(fields[0]))
        settings.baudRate = *baudRate;
    else
        return fail(error,
                    fieldError(text, "speed", "a whole number from 50 to 4000000", fields[0]));
    if (const auto parity = readParity(fields[1]))
        settings.parity = *parity;
    else
        return fail(error, fieldError(text, "parity", "N, E, O, M or S", fields[1]));
    if (const auto dataBits = readDataBits(fields[2]))
        settings.dataBits = *dataBits;
    else
        return fail(error, fieldError(text, "data bits", "5, 6, 7 or 8", fields[2]));
    if (const auto stopBits = readStopBits(fields[3]))
        settings.stopBits = *stopBits;
    else
        return fail(error, fieldError(text, "stop bits", "1, 1.5 or 2", fields[3]));
    return settings;
}
