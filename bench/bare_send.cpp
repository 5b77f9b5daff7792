// The start-up floor of zra70ctl: the least a Qt 6 Core program does to put a command on a
// serial line, with QSerialPort, and wait for the one-byte answer.
// Usage: zra70-bare-send DEVICE

#include <QCoreApplication>
#include <QSerialPort>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2)
        return 2;
    QSerialPort port(app.arguments().at(1));
    port.setBaudRate(19200);
    if (!port.open(QIODevice::ReadWrite))
        return 1;
    port.write("C00\r");
    port.flush();
    QObject::connect(&port, &QSerialPort::readyRead, &app, &QCoreApplication::quit);
    return app.exec();
}
