// The start-up baselines: the least a Qt 6 Widgets program does to put a window on the screen,
// and, with --label, the same window showing one line of text (which alone brings in the font
// database and a font engine).

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty"));
    window.resize(400, 300);
    if (app.arguments().contains(QStringLiteral("--label")))
        new QLabel(QStringLiteral("19200,N,8,1"), &window);
    window.show();
    return app.exec();
}
