#include "form1.h"
#include "mapped_serial_port.h"
#include "panel_controller.h"
#include "qt_timer_service.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("zra70-panel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zra70-panel"),
                                                 QIcon(QStringLiteral(":/panel/image1.png"))));
    QtTimerService timers;
    MappedSerialPort MSComm1; // a local device or a network address, as the port number maps
    Form1 form;
    PanelController controller(form, MSComm1, timers);
    controller.load();
    form.show();
    return app.exec();
}
