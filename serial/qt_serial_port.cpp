#include "qt_serial_port.h"

// TODO(serial helper): the real implementation.
struct QtSerialPort::Private {
    int number = 1;
    QString settings = QStringLiteral("9600,N,8,1");
};

QtSerialPort::QtSerialPort(QObject *parent)
    : SerialPort(parent)
    , d(std::make_unique<Private>())
{
}
QtSerialPort::~QtSerialPort() = default;
PortStatus QtSerialPort::setPortNumber(int number)
{
    d->number = number;
    return PortStatus::success();
}
int QtSerialPort::portNumber() const { return d->number; }
PortStatus QtSerialPort::setSettings(const QString &settings)
{
    d->settings = settings;
    return PortStatus::success();
}
QString QtSerialPort::settings() const { return d->settings; }
PortStatus QtSerialPort::open() { return PortStatus::failure(QStringLiteral("not built yet")); }
PortStatus QtSerialPort::close() { return PortStatus::success(); }
bool QtSerialPort::isOpen() const { return false; }
PortStatus QtSerialPort::write(const QByteArray &) { return PortStatus::failure("not open"); }
QByteArray QtSerialPort::readAll() { return {}; }
QString QtSerialPort::deviceName() const { return QString(); }
