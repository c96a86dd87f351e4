// What the window system and screen readers get from the real platform (xcb on a private Xvfb, with
// the accessibility bus): the exact window titles, and the status panels announcing their texts.

#include "support/DesktopSession.h"
#include "support/Pty.h"
#include "support/TestSupport.h"
#include "window/MainWindow.h"
#include "window/OptionsDialog.h"
#include "window/SerialPortDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace {
// Name changes the accessibility layer announced: the object, and its name as a screen reader then
// reads it.
struct Announcement {
    QString object;
    QString name;
    bool operator==(const Announcement &other) const { return object == other.object && name == other.name; }
};
QList<Announcement> announced;

void recordAnnouncement(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::NameChanged || event->object() == nullptr)
        return;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(event->object());
    announced.append({event->object()->objectName(), iface ? iface->text(QAccessible::Name) : QString()});
}

char *toString(const Announcement &announcement)
{
    return qstrdup((announcement.object + QStringLiteral(": ") + announcement.name).toUtf8().constData());
}
} // namespace

class WindowSystemTest : public QObject {
    Q_OBJECT

public:
    explicit WindowSystemTest(const DesktopSession &session) : session_(session) {}

private Q_SLOTS:
    void initTestCase();
    void titlesAreExact_data();
    void titlesAreExact();
    void statusPanelsAnnounceTheirText_data();
    void statusPanelsAnnounceTheirText();

private:
    const DesktopSession &session_;
};

void WindowSystemTest::initTestCase()
{
    if (!session_.missingDisplay().isEmpty())
        QSKIP(qPrintable(session_.missingDisplay()));
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
}

void WindowSystemTest::titlesAreExact_data()
{
    QTest::addColumn<QByteArray>("ver");
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("options");
    QTest::newRow("1 CN") << QByteArray("[Ver]\r\nCEO=CN\r\nOri=1\r\n") << "WiFi模块配置软件 V2.14"
                          << "串口设置"
                          << "选项";
    QTest::newRow("1 EN") << QByteArray("[Ver]\r\nCEO=EN\r\nOri=1\r\n")
                          << "WiFi Module Setting Software V2.14"
                          << "COM port setting"
                          << "Options";
    QTest::newRow("9999 CN") << QByteArray("[Ver]\r\nCEO=CN\r\nOri=9999\r\n")
                             << "QX5120 WiFi模块配置软件 V2.14"
                             << "串口设置"
                             << "选项";
    QTest::newRow("9999 EN") << QByteArray("[Ver]\r\nCEO=EN\r\nOri=9999\r\n")
                             << "QX5120 WiFi Module Setting Software V2.14"
                             << "COM port setting"
                             << "Options";
}

// The title bar shows the title as designed, with nothing appended by the platform.
void WindowSystemTest::titlesAreExact()
{
    QFETCH(QByteArray, ver);
    QFETCH(QString, main);
    QFETCH(QString, serial);
    QFETCH(QString, options);
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), ver));
    auto form = makeMainWindow();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_COMPARE(DesktopSession::windowTitle(form->winId()), main);

    const std::pair<QWidget *, QString> dialogs[] = {{form->portDialog(), serial},
                                                     {form->optionsDialog(), options}};
    for (const auto &[dialog, title] : dialogs) {
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QTRY_COMPARE(DesktopSession::windowTitle(dialog->winId()), title);
        dialog->hide();
    }
}

void WindowSystemTest::statusPanelsAnnounceTheirText_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("sending");
    QTest::addColumn<QString>("done");
    QTest::newRow("CN") << QByteArray("CN") << kMakerNameChinese << "正在设置AT测试......"
                        << "操作完成！";
    QTest::newRow("EN") << QByteArray("EN") << kMakerNameEnglish << "Setting AT test......"
                        << "Operate complete!";
}

// A screen reader hears each new text of a panel as it appears, under that text.
void WindowSystemTest::statusPanelsAnnounceTheirText()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, maker);
    QFETCH(QString, sending);
    QFETCH(QString, done);
    if (!session_.missingAccessibilityBus().isEmpty())
        QSKIP(qPrintable(session_.missingAccessibilityBus()));
    QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "the accessibility bridge did not reach the bus",
                              15000);

    Pty pty;
    QVERIFY(pty.isValid());
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(pty.slavePath(), "[Ver]\r\nCEO=" + language + "\r\nOri=9999\r\n"));
    announced.clear();
    const QAccessible::UpdateHandler previous = QAccessible::installUpdateHandler(recordAnnouncement);
    auto restore = qScopeGuard([previous] { QAccessible::installUpdateHandler(previous); });

    // Start-up names the maker and opens the saved port.
    auto form = makeMainWindow();
    QVERIFY(announced.contains({QStringLiteral("makerPanel"), maker}));
    QVERIFY(announced.contains({QStringLiteral("linkStatePanel"), QStringLiteral("COM1,115200,NONE,8,1")}));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QPushButton *atButton = control<QPushButton>(*form, "atButton");
    announced.clear();
    QTest::mouseClick(atButton, Qt::LeftButton);
    QCOMPARE(pty.read(4), QByteArray("AT\r\n"));
    QCOMPARE(announced, (QList<Announcement>{{QStringLiteral("operationPanel"), sending}}));
    announced.clear();
    QVERIFY(pty.write("\r\nOK\r\n"));
    QTRY_COMPARE(announced, (QList<Announcement>{{QStringLiteral("operationPanel"), done}}));
}

int main(int argc, char *argv[])
{
    const DesktopSession session; // before the application, which picks its platform from it
    QApplication app(argc, argv);
    WindowSystemTest test(session);
    return QTest::qExec(&test, argc, argv);
}

#include "test_windowsystem.moc"
