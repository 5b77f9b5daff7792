#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Decodes the rendered received text against the command sent last. Returns the new text of
// the status line, or nothing when the status line keeps what it shows.
std::optional<QString> decodeReply(QByteArrayView sendText, QByteArrayView cmdPrefix,
                                   const QString &rendered);
