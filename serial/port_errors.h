#pragma once

#include <QString>

// Descriptions of the port's failures, written for the person at the panel. Pure functions
// of what went wrong, so every text can be checked without the device or the rights at hand.

enum class OpenFailureKind {
    NotFound,         // no such device
    PermissionDenied, // the user may not read and write the device
    InUse,            // another program holds the device or its lock
    Other,            // anything else: the system's own text is shown
};

struct OpenFailure {
    OpenFailureKind kind = OpenFailureKind::Other;
    int portNumber = 1;
    QString devicePath;
    QString ownerGroup;    // PermissionDenied: the owning group, if joining it grants access
    qint64 lockOwner = 0;  // InUse: the process holding the device's lock, if known
    QString lockOwnerName; // InUse: the program that process runs, if known
    QString systemText;    // Other: what the system said
};

QString describeOpenFailure(const OpenFailure &failure);

// The open device failed or went away. An empty systemText means the device disappeared.
QString describeLinkLoss(int portNumber, const QString &devicePath, const QString &systemText);

QString describeUnknownPortNumber(int number);
QString describeRenumberWhileOpen(int openNumber, int requestedNumber);
QString describeAlreadyOpen(int portNumber, const QString &devicePath);
QString describeNotOpenForWrite(int portNumber, const QString &devicePath);
QString describeWriteFailure(int portNumber, const QString &devicePath, const QString &systemText);
QString describeSettingsRefused(int portNumber, const QString &devicePath, const QString &settings,
                                const QString &systemText);
