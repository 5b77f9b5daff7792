#include "service_log.h"

#include <cstdio>

void ServiceLog::event(const QString &line) const
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void ServiceLog::exchange(const QString &line) const
{
    if (m_verbose)
        event(line);
}
