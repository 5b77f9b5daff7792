#include "pjlink_auth.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

PjlinkLogin::PjlinkLogin(std::optional<QByteArray> password, QByteArray random)
    : m_random(std::move(random))
{
    if (password)
        m_digest = pjlinkDigest(m_random, *password);
}

QByteArray PjlinkLogin::greeting() const
{
    return m_digest ? "PJLINK 1 " + m_random + '\r' : QByteArray("PJLINK 0\r");
}

std::optional<QByteArray> PjlinkLogin::admit(QByteArrayView firstLine) const
{
    if (!m_digest)
        return firstLine.toByteArray();
    if (firstLine.size() < DigestLength)
        return std::nullopt;
    // Some clients write the digest in upper case.
    const QByteArray digest = firstLine.first(DigestLength).toByteArray().toLower();
    if (!equalInConstantTime(digest, *m_digest))
        return std::nullopt;
    return firstLine.sliced(DigestLength).toByteArray();
}

QByteArray PjlinkLogin::randomNumber()
{
    return QByteArray::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0');
}

QByteArray pjlinkDigest(QByteArrayView random, QByteArrayView password)
{
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(random);
    md5.addData(password);
    return md5.result().toHex();
}

bool equalInConstantTime(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}
