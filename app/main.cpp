#include "form1.h"
#include "panel_controller.h"
#include "qt_serial_port.h"
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
    QtSerialPort MSComm1;
    Form1 form;
    PanelController controller(form, MSComm1, timers);
    controller.load();
    form.show();
    return app.exec();
}
