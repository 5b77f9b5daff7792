#pragma once

#include "exchange_request.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The panel's vocabulary seen by name: every single-press command, every adjuster direction
// and the nine status queries, each with the reply timeout a freshly started panel gives its
// kind. Intervals are not sticky here: each request carries its own.

struct CatalogEntry {
    QString name;
    QByteArray code;
    // "query", or how it is timed: "plain", "long-reply", "input-switch", "arrow-prep",
    // "adjuster", "arrow"
    QString kind;
    bool isQuery = false;
    QString description;
    Request request;
};

QList<CatalogEntry> catalog();
QStringList commandNames();
QStringList queryNames();

std::optional<Request> requestNamed(const QString &name);
std::optional<Request> queryNamed(const QString &name);
QList<Request> allQueries();
// Free text, sent as the panel's SEND sends it: Latin-1 bytes, the typed command's timing.
Request rawRequest(const QString &text);
