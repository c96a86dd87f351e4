#include "bench/BenchWindow.h"

#include "links/PortMap.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QStringList &boxTexts()
{
    static QStringList texts;
    return texts;
}

void ensureApplication()
{
    if (QCoreApplication::instance())
        return; // the replay test brings its own
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qxfuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down during static destruction is not worth the risk.
    static QApplication *app = new QApplication(argc, argv);
    Q_UNUSED(app);
}

} // namespace

MainWindow &benchWindow()
{
    static MainWindow *form = nullptr;
    if (form)
        return *form;
    ensureApplication();
    static QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QFile config(dir.filePath(QStringLiteral("Config.ini")));
    if (config.open(QIODevice::WriteOnly)) {
        config.write("[info]\r\nCOM=1\r\nBaudRate=9\r\n"
                     "[Network]\r\nServerIP=127.0.0.1\r\nServerIP2=127.0.0.1\r\nCOMType=0\r\n");
        config.close();
    }
    Boxes::setHandler([](const BoxRequest &request) {
        boxTexts().append(request.text);
        return false;
    });
    // Owned by nobody on purpose: it lives until the process ends, like the tool's own window.
    form = new MainWindow(nullptr, WindowStart{QString(), 0, QStringLiteral("/nonexistent/qxfuzz-ttyS%1")});
    return *form;
}

const QStringList &benchBoxes()
{
    return boxTexts();
}

void benchBoxesClear()
{
    boxTexts().clear();
}

void benchWindowTidy(MainWindow &form)
{
    form.console()->clearLog();
    if (QPlainTextEdit *memo = form.memo(Field::ListMemo))
        memo->clear();
    QCoreApplication::sendPostedEvents();
    benchBoxesClear();
}
