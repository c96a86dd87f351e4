// The floor for start-up time and memory: a bare Qt 6 window, nothing else.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1062, 740); // the tool's own size
    window.show();
    return QApplication::exec();
}
