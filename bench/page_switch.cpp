// A first switch to each page not built at start-up: from the click on its tab (setCurrentIndex) to
// the page built, laid out and painted. A fresh window for every run, on the platform given
// (bench/run.sh: Xvfb); the first run also pays the fonts' and styles' first use.
//   qxbench_page_switch [--runs N]

#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int runs = 9;
    const QStringList args = QApplication::arguments();
    if (const int at = static_cast<int>(args.indexOf(QStringLiteral("--runs")));
        at >= 0 && at + 1 < args.size())
        runs = args.at(at + 1).toInt();
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QFile config(dir.filePath(QStringLiteral("Config.ini")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(
        "[info]\r\nCOM=1\r\n[Ver]\r\nCEO=EN\r\n[Network]\r\nServerIP=127.0.0.1\r\nServerIP2=127.0.0.1\r\n");
    config.close();
    Boxes::setHandler([](const BoxRequest &) { return false; });

    std::vector<double> worst;
    for (int run = 0; run < runs; ++run) {
        MainWindow window(nullptr, WindowStart{QString(), 0, QStringLiteral("/nonexistent/qxbench-ttyS%1")});
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("pages"));
        double slowest = 0;
        std::printf("run %d:", run + 1);
        for (int tab = 1; tab < tabs->count(); ++tab) {
            QElapsedTimer timer;
            timer.start();
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            window.repaint();
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            slowest = std::max(slowest, ms);
            std::printf(" page %d %.1f ms", tab + 1, ms);
        }
        std::printf("\n");
        worst.push_back(slowest);
    }
    std::sort(worst.begin(), worst.end());
    std::printf("first switch to a page, slowest of the three: median of %d windows %.1f ms, max %.1f ms\n",
                runs, worst[worst.size() / 2], worst.back());
    return 0;
}
