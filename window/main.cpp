#include "window/MainWindow.h"
#include "window/SettingsFolderError.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxsetup"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.qxsetup.qxsetup")); // its menu entry and icon
    if (showSettingsFolderError(QApplication::arguments()))
        return 1;
    MainWindow window;
    window.show();
    return QApplication::exec();
}
