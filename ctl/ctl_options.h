#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for, checked for form; names are looked up later.
struct CtlOptions {
    QString port = QStringLiteral("1");
    int speed = 19200;
    bool json = false;
    std::optional<int> timeoutMs;
    bool verbose = false;
    QString command; // list, send, query, status or raw
    QStringList arguments;
};

// Either the options, or the usage error to print (exit status 2). --help and --version are
// answered by printing and exiting at once, with status 0.
struct ParsedOptions {
    std::optional<CtlOptions> options;
    QString usageError;
};

ParsedOptions parseOptions(const QStringList &arguments);
