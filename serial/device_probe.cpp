#include "device_probe.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <tuple>
#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>
#endif

namespace {

#ifdef Q_OS_UNIX
// The group whose members may read and write the device; empty when membership would not help.
QString grantingGroupName(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QString();
    if ((status.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return QString();
    std::vector<char> buffer(1024);
    for (;;) {
        group entry{};
        group *found = nullptr;
        const int error = ::getgrgid_r(status.st_gid, &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || !found)
            return QString();
        return QString::fromLocal8Bit(found->gr_name);
    }
}

// Where QSerialPort keeps the lock file of a device: the first of its lock directories that
// holds the file or could hold it.
QString lockFilePathFor(const QString &devicePath)
{
    static const char *const directories[] = {
        "/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
        "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock",
    };
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QLatin1String("/LCK.."));
    for (const char *directory : directories) {
        const QString candidate = QLatin1String(directory) + name;
        const QFileInfo info{QLatin1String(directory)};
        if (info.isReadable() && (QFile::exists(candidate) || info.isWritable()))
            return candidate;
    }
    return QString();
}

// The process holding the device's lock and the program it runs; none when unknown or when
// it is this program itself.
std::pair<qint64, QString> lockOwnerOf(const QString &devicePath)
{
    const QString lockPath = lockFilePathFor(devicePath);
    if (lockPath.isEmpty())
        return {};
    qint64 pid = 0;
    QString hostName;
    QString programName;
    if (!QLockFile(lockPath).getLockInfo(&pid, &hostName, &programName) ||
        pid == QCoreApplication::applicationPid())
        return {};
    return {pid, programName};
}
#else
QString grantingGroupName(const QString &)
{
    return QString();
}

std::pair<qint64, QString> lockOwnerOf(const QString &)
{
    return {};
}
#endif

} // namespace

bool deviceExists(const QString &path)
{
    return QFileInfo::exists(path);
}

DeviceIdentity deviceIdentity(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return {quint64(status.st_dev), quint64(status.st_ino), quint64(status.st_rdev)};
#else
    Q_UNUSED(path);
    return {};
#endif
}

bool deviceIsAccessible(const QString &path)
{
#ifdef Q_OS_UNIX
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK | W_OK, AT_EACCESS) == 0;
#else
    Q_UNUSED(path);
    return true;
#endif
}

OpenFailure inspectOpenFailure(int portNumber, const QString &path,
                               QSerialPort::SerialPortError error, const QString &errorText)
{
    OpenFailure failure;
    failure.portNumber = portNumber;
    failure.devicePath = path;
    failure.systemText = errorText;
    if (error == QSerialPort::DeviceNotFoundError || !deviceExists(path)) {
        failure.kind = OpenFailureKind::NotFound;
    } else if (error == QSerialPort::PermissionError || error == QSerialPort::OpenError) {
        if (!deviceIsAccessible(path)) {
            failure.kind = OpenFailureKind::PermissionDenied;
            failure.ownerGroup = grantingGroupName(path);
        } else {
            failure.kind = OpenFailureKind::InUse;
            std::tie(failure.lockOwner, failure.lockOwnerName) = lockOwnerOf(path);
        }
    }
    return failure;
}
