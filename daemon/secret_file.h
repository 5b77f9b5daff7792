#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A password kept in a file of its own: its first line, without the line end. Refused when the
// file is not a regular file, can be read by others than its owner and group, is empty, or
// holds more than maxLength bytes or a control byte. The secret never appears in *problem.
std::optional<QByteArray> readSecretFile(const QString &path, qsizetype maxLength,
                                         QString *problem);
