#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// PJLink's login, once per connection: the greeting names a random number, and with a
// password the client's first command must come after the MD5 digest of that number followed
// by the password, in hexadecimal.
class PjlinkLogin {
public:
    static constexpr qsizetype MaxPasswordLength = 32;
    static constexpr qsizetype DigestLength = 32;

    // No password: no authentication. The random number is given for tests; the server takes
    // a new one from randomNumber() for every connection.
    PjlinkLogin(std::optional<QByteArray> password, QByteArray random);

    // "PJLINK 0\r", or "PJLINK 1 " with the random number.
    QByteArray greeting() const;
    // The client's first line with its digest taken off; nothing when the digest is missing or
    // wrong (answered "PJLINK ERRA", and the connection closed).
    std::optional<QByteArray> admit(QByteArrayView firstLine) const;

    static QByteArray randomNumber(); // 8 lower-case hexadecimal digits
    static constexpr QByteArrayView Refusal = "PJLINK ERRA\r";

private:
    std::optional<QByteArray> m_digest;
    QByteArray m_random;
};

// MD5 of the random number followed by the password, 32 lower-case hexadecimal digits.
QByteArray pjlinkDigest(QByteArrayView random, QByteArrayView password);
// Equal sizes and bytes, in a time that does not depend on where they differ.
bool equalInConstantTime(QByteArrayView a, QByteArrayView b);
