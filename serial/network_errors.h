#pragma once

#include "network_address.h"

#include <QString>

// What went wrong with a network port, and the texts for the person at the panel.
struct NetworkFailure {
    enum class Kind {
        HostNotFound,
        Refused,        // nothing listens at that port
        NoAnswer,       // no connection within the answer time
        NotRfc2217,     // connected, but the serial port option was refused or not answered
        SettingRefused, // the server took the option but not the settings asked for
        ClosedByServer,
        NetworkError, // anything else the system reports
    };

    Kind kind = Kind::NetworkError;
    // SettingRefused: what the server reported; ClosedByServer: the text it sent before
    // closing, if any; NetworkError: the system's text.
    QString detail;
};

// Whether trying again later may succeed without anything being changed here.
bool isWorthRetrying(const NetworkFailure &failure);

QString describeNetworkOpenFailure(int portNumber, const NetworkAddress &address,
                                   const QString &settings, int answerMs,
                                   const NetworkFailure &failure);
QString describeNetworkLoss(int portNumber, const NetworkAddress &address, const QString &settings,
                            const NetworkFailure &failure);
QString describeBadNetworkAddress(int portNumber, const QString &name);
