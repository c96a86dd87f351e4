#include "support/SimWindow.h"

#include "links/TcpConnection.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QPushButton>
#include <QTcpSocket>
#include <QtTest>

bool SimWindow::start(int link, const QStringList &simArgs, const QByteArray &language, QString *why)
{
    sim_ = std::make_unique<SimProcess>();
    const QStringList args{QStringLiteral("-v"),       QStringLiteral("--pty"),
                           QStringLiteral("--lan"),    QStringLiteral("127.0.0.1:0"),
                           QStringLiteral("--relay"),  QStringLiteral("127.0.0.1:0"),
                           QStringLiteral("--module"), QLatin1String(kModuleId) + QStringLiteral(":0000")};
    if (!sim_->start(args + simArgs, why))
        return false;
    boxes_ = std::make_unique<BoxRecorder>(true);
    const QByteArray extra = "[Ver]\r\nCEO=" + language +
                             "\r\n[Network]\r\nTargetGPRSID=" + QByteArray(kModuleId) +
                             "\r\nTargetZone=0000\r\nTCPPort=" + QByteArray::number(sim_->lanPort()) +
                             "\r\nTCPPort2=" + QByteArray::number(sim_->relayPort()) +
                             "\r\nCOMType=" + QByteArray::number(link) + "\r\n";
    dir_ = std::make_unique<WorkDir>(WorkDir::testConfig(sim_->ptyPath(), extra));
    form_ = makeMainWindow();
    QObject::connect(form_.get(), &MainWindow::commandSent, form_.get(), [this] { ++sent_; });
    QObject::connect(form_.get(), &MainWindow::replyArrived, form_.get(), [this] { ++replies_; });
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) {
        if (why)
            *why = QStringLiteral("the window was not shown");
        return false;
    }
    const bool up = link == 0
                        ? form_->portDialog()->portOpen(1)
                        : QTest::qWaitFor([this] { return form_->tcpConnection()->isConnected(); }, 5000);
    if (!up && why)
        *why = QStringLiteral("the link did not come up");
    return up;
}

QList<QByteArray> SimWindow::trafficLines()
{
    log_ += sim_->log();
    QList<QByteArray> lines;
    for (const QByteArray &line : log_.split('\n')) {
        // "qxsim: LINK <- BYTES" and "qxsim: LINK -> BYTES"; data and echoes are marked and left out.
        const QList<QByteArray> words = line.split(' ');
        if (words.size() >= 4 && words.at(0) == "qxsim:" && (words.at(2) == "<-" || words.at(2) == "->") &&
            !words.at(3).startsWith('('))
            lines << line;
    }
    return lines;
}

QStringList SimWindow::commandsReceived()
{
    QStringList commands;
    for (const QByteArray &line : trafficLines()) {
        const QList<QByteArray> words = line.split(' ');
        // On the relay the command stands inside the escaped bytes of its frames.
        const qsizetype at = line.indexOf("AT", line.indexOf("<- "));
        if (words.at(2) != "<-" || at < 0)
            continue;
        QByteArray command = line.mid(at);
        for (const char *end : {"\\r", "\\x"}) {
            if (const qsizetype cut = command.indexOf(end); cut >= 0)
                command.truncate(cut);
        }
        commands << QString::fromUtf8(command);
    }
    return commands;
}

QStringList SimWindow::commandsBeforeTestCommand()
{
    // Answers arriving together may count once: then the wait ends at its deadline, and the order on
    // the wire still shows anything sent after them.
    static_cast<void>(QTest::qWaitFor([this] { return replies_ >= sent_; }, 20000));
    const qsizetype before = commandsReceived().size();
    QTest::mouseClick(control<QPushButton>(*form_, "atButton"), Qt::LeftButton);
    QStringList commands;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            commands = commandsReceived();
            return commands.size() > before && commands.last() == QLatin1String("AT");
        },
        20000));
    if (commands.isEmpty() || commands.last() != QLatin1String("AT"))
        return commands << QStringLiteral("[the AT test command never reached the module]");
    commands.removeLast();
    return commands;
}
