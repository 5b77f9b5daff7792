#include "qt_serial_port.h"

#include "device_map.h"
#include "device_probe.h"
#include "line_settings.h"
#include "port_errors.h"
#include "serial_trace.h"

#include <QSerialPort>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

namespace {

// How often the path of the open (or lost) device is looked at: the read path of a tty that
// hung up does not report reliably, its disappearing from the file system does.
constexpr int DeviceCheckIntervalMs = 500;

bool applyLineSettings(QSerialPort &port, const LineSettings &settings, QString *refusal)
{
#ifndef Q_OS_WIN
    // termios has no 1.5 stop bits; QSerialPort would quietly use 1.
    if (settings.stopBits == QSerialPort::OneAndHalfStop) {
        *refusal = QStringLiteral("1.5 stop bits are not available on this system");
        return false;
    }
#endif
    // On a closed port these only remember the values; an open one takes them at once.
    const bool taken = port.setBaudRate(settings.baudRate) && port.setParity(settings.parity) &&
                       port.setDataBits(settings.dataBits) && port.setStopBits(settings.stopBits);
    if (!taken)
        *refusal = port.errorString();
    return taken;
}

} // namespace

struct QtSerialPort::Private {
    enum class Watch { Idle, Open, Lost };

    QSerialPort port;
    QTimer deviceCheck;
    int number = 1;
    QString settingsText = QStringLiteral("9600,N,8,1");
    LineSettings lineSettings;

    Watch watch = Watch::Idle;
    QString devicePath;       // of the open or lost device
    DeviceIdentity identity;  // of the open or lost device, to notice a replacement
    bool seenMissing = false; // the lost device's path was absent at some check since the loss
    quint64 openingId = 0;    // so that a late error report cannot close a newer opening
    bool lossQueued = false;
    qsizetype rxTraced = 0; // waiting bytes already written to the trace
};

QtSerialPort::QtSerialPort(QObject *parent)
    : SerialPort(parent)
    , d(std::make_unique<Private>())
{
    d->port.setFlowControl(QSerialPort::NoFlowControl);
    d->deviceCheck.setInterval(DeviceCheckIntervalMs);
    connect(&d->deviceCheck, &QTimer::timeout, this, &QtSerialPort::checkDevice);
    connect(&d->port, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
    connect(&d->port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onPortError(error); });
}

QtSerialPort::~QtSerialPort()
{
    d->deviceCheck.stop();
    disconnect(&d->port, nullptr, this, nullptr);
    if (d->port.isOpen())
        d->port.close();
}

PortStatus QtSerialPort::setPortNumber(int number)
{
    if (!isKnownPortNumber(number))
        return PortStatus::failure(describeUnknownPortNumber(number));
    if (d->port.isOpen()) {
        if (number == d->number)
            return PortStatus::success();
        return PortStatus::failure(describeRenumberWhileOpen(d->number, number));
    }
    stopWatching();
    d->number = number;
    return PortStatus::success();
}

int QtSerialPort::portNumber() const
{
    return d->number;
}

PortStatus QtSerialPort::setSettings(const QString &settings)
{
    QString problem;
    const std::optional<LineSettings> parsed = parseLineSettings(settings, &problem);
    if (!parsed)
        return PortStatus::failure(problem);
    d->settingsText = settings;
    d->lineSettings = *parsed;
    if (!d->port.isOpen())
        return PortStatus::success(); // taken at the next opening
    if (!applyLineSettings(d->port, *parsed, &problem))
        return PortStatus::failure(
            describeSettingsRefused(d->number, d->devicePath, settings, problem));
    qCDebug(lcSerial).noquote() << "settings" << d->devicePath << settings;
    return PortStatus::success();
}

QString QtSerialPort::settings() const
{
    return d->settingsText;
}

PortStatus QtSerialPort::open()
{
    if (d->port.isOpen())
        return PortStatus::failure(describeAlreadyOpen(d->number, d->devicePath));
    stopWatching();

    const QString path = devicePathForPort(d->number);
    QString refusal;
    if (!applyLineSettings(d->port, d->lineSettings, &refusal))
        return PortStatus::failure(
            describeSettingsRefused(d->number, path, d->settingsText, refusal));
    d->port.setPortName(path);
    if (!d->port.open(QIODevice::ReadWrite)) {
        qCDebug(lcSerial).noquote() << "open" << path << "failed:" << d->port.errorString();
        return PortStatus::failure(describeOpenFailure(
            inspectOpenFailure(d->number, path, d->port.error(), d->port.errorString())));
    }

    d->devicePath = path;
    d->identity = deviceIdentity(path);
    ++d->openingId;
    d->lossQueued = false;
    d->rxTraced = 0;
    d->watch = Private::Watch::Open;
    d->deviceCheck.start();
    qCDebug(lcSerial).noquote() << "open" << path << d->settingsText;
    return PortStatus::success();
}

PortStatus QtSerialPort::close()
{
    stopWatching();
    if (!d->port.isOpen())
        return PortStatus::success();
    d->port.close();
    d->rxTraced = 0;
    qCDebug(lcSerial).noquote() << "close" << d->devicePath;
    return PortStatus::success();
}

bool QtSerialPort::isOpen() const
{
    return d->port.isOpen();
}

namespace {

// Whether the device would take a write now without refusing it.
bool deviceHasRoom(qintptr handle)
{
#ifdef Q_OS_UNIX
    pollfd device{int(handle), POLLOUT, 0};
    return ::poll(&device, 1, 0) == 1 && (device.revents & POLLOUT);
#else
    Q_UNUSED(handle);
    return true;
#endif
}

} // namespace

PortStatus QtSerialPort::write(const QByteArray &bytes)
{
    if (!d->port.isOpen())
        return PortStatus::failure(describeNotOpenForWrite(d->number, deviceName()));
    // Queued in QSerialPort and sent as soon as the device takes it; a device that fails
    // on the way is reported as a lost link.
    const qint64 taken = d->port.write(bytes);
    // Out to the device now rather than on the next turn of the event loop, so the command is
    // on the line before the window repaints. Only when the device has room: a write into a
    // full device fails with EAGAIN, which QSerialPort reports as a ResourceError, the same
    // as a device that went away. Otherwise the bytes stay queued for the write notifier.
    if (d->port.bytesToWrite() == taken && deviceHasRoom(d->port.handle()))
        d->port.flush();
    traceChunk(TraceDirection::Sent, d->devicePath, bytes.left(qMax<qint64>(taken, 0)));
    if (taken != bytes.size())
        return PortStatus::failure(
            describeWriteFailure(d->number, d->devicePath, d->port.errorString()));
    return PortStatus::success();
}

QByteArray QtSerialPort::readAll()
{
    d->rxTraced = 0;
    if (!d->port.isOpen())
        return QByteArray();
    return d->port.readAll();
}

QString QtSerialPort::deviceName() const
{
    if (d->watch != Private::Watch::Idle || d->port.isOpen())
        return d->devicePath;
    return devicePathForPort(d->number);
}

void QtSerialPort::onReadyRead()
{
    if (lcSerial().isDebugEnabled()) {
        const QByteArray waiting = d->port.peek(d->port.bytesAvailable());
        traceChunk(TraceDirection::Received, d->devicePath, waiting.mid(d->rxTraced));
        d->rxTraced = waiting.size();
    }
    emit commEvent(Receive);
}

void QtSerialPort::onPortError(int error)
{
    if (d->watch != Private::Watch::Open || d->lossQueued)
        return;
    if (error != QSerialPort::NoError)
        qCDebug(lcSerial).noquote()
            << "error" << QSerialPort::SerialPortError(error) << d->port.errorString();
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    d->lossQueued = true;
    const quint64 openingId = d->openingId;
    const QString systemText = d->port.errorString();
    // Reported from inside QSerialPort's own notifiers, which closing the port would delete
    // under their feet: close on the next turn of the event loop instead.
    QMetaObject::invokeMethod(
        this, [this, openingId, systemText] { loseLink(openingId, systemText); },
        Qt::QueuedConnection);
}

void QtSerialPort::checkDevice()
{
    const QString &path = d->devicePath;
    switch (d->watch) {
    case Private::Watch::Open:
        if (!deviceExists(path))
            loseLink(d->openingId, QString());
        break;
    case Private::Watch::Lost:
        if (!deviceExists(path)) {
            d->seenMissing = true;
        } else if ((d->seenMissing || deviceIdentity(path) != d->identity) &&
                   deviceIsAccessible(path)) {
            stopWatching();
            qCDebug(lcSerial).noquote() << "device returned" << path;
            emit deviceReturned();
        }
        break;
    case Private::Watch::Idle:
        d->deviceCheck.stop();
        break;
    }
}

void QtSerialPort::loseLink(quint64 openingId, const QString &systemText)
{
    if (d->watch != Private::Watch::Open || openingId != d->openingId)
        return;
    d->port.close();
    d->rxTraced = 0;
    d->watch = Private::Watch::Lost; // the device check goes on, now waiting for its return
    const bool gone = !deviceExists(d->devicePath);
    d->seenMissing = gone;
    // A hung-up tty reads nothing and leaves a stale error text; its vanishing says more.
    const QString description =
        describeLinkLoss(d->number, d->devicePath, gone ? QString() : systemText);
    qCDebug(lcSerial).noquote() << "link lost:" << description;
    emit commEvent(EventDeviceError);
    emit linkLost(description);
}

void QtSerialPort::stopWatching()
{
    d->deviceCheck.stop();
    d->watch = Private::Watch::Idle;
}
