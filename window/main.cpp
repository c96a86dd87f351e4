#include "translations/Translations.h"
#include "window/MainWindow.h"
#include "window/SettingsFolderError.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxsetup"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.qxsetup.qxsetup")); // its menu entry and icon
    // Until the settings are read (the window then applies their language), the desktop's decides.
    Translations::use(QLocale().language() == QLocale::Chinese ? Translations::chinese() : QString());
    if (showSettingsFolderError(QApplication::arguments()))
        return 1;
    MainWindow window;
    window.show();
    return QApplication::exec();
}
