#include "secret_file.h"

#include <QFile>
#include <QFileInfo>

std::optional<QByteArray> readSecretFile(const QString &path, qsizetype maxLength, QString *problem)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        *problem = QStringLiteral("the password file %1 does not exist or is not a file").arg(path);
        return std::nullopt;
    }
    if (info.permissions() & QFileDevice::ReadOther) {
        *problem = QStringLiteral("the password file %1 can be read by anyone: "
                                  "chmod o-r %1")
                       .arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem =
            QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // One line more than any password may be, so an overlong one is seen as such.
    QByteArray secret = file.readLine(maxLength + 3);
    while (secret.endsWith('\n') || secret.endsWith('\r'))
        secret.chop(1);
    const bool printable = std::all_of(secret.begin(), secret.end(),
                                       [](char c) { return quint8(c) >= 0x20 && c != 0x7F; });
    if (secret.isEmpty() || secret.size() > maxLength || !printable) {
        *problem = QStringLiteral("the password file %1 must hold one line of 1 to %2 printable "
                                  "characters")
                       .arg(path)
                       .arg(maxLength);
        return std::nullopt;
    }
    return secret;
}
