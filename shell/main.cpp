#include "shell/SettingsFolderError.h"
#include "shell/Unit1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxsetup"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.qxsetup.qxsetup")); // its menu entry and icon
    if (showSettingsFolderError(QApplication::arguments()))
        return 1;
    TForm1 window;
    window.show();
    return QApplication::exec();
}
