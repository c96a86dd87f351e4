// The floor for start-up time, memory and idle CPU: a bare Qt 6 window, nothing else. With --poll it
// also runs an empty 20 ms timer, the floor for any window that polls a port every 20 ms.

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1062, 740); // the tool's own size
    window.show();
    QTimer poll;
    if (QApplication::arguments().contains(QStringLiteral("--poll"))) {
        poll.setInterval(20);
        poll.start();
    }
    return QApplication::exec();
}
