#include "shell/Unit1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qxsetup"));
    TForm1 window;
    window.show();
    return QApplication::exec();
}
