// The application's style as qxsetup starts it: the menu bar's extension arrow, read only when first
// drawn, is the style's own arrow once the menus do not fit.

#include "window/DeferredIconStyle.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

class StartStyleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menuBarArrowIsTheStylesOwn();
};

void StartStyleTest::menuBarArrowIsTheStylesOwn()
{
    const QImage expected =
        QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16).toImage();
    QApplication::setStyle(new DeferredIconStyle(QApplication::style()));
    QMainWindow window;
    for (const char *title : {"File", "Help", "Settings", "Tools", "Window"})
        window.menuBar()->addMenu(QLatin1String(title));
    window.resize(90, 120);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *arrow = window.menuBar()->findChild<QToolButton *>(QStringLiteral("qt_menubar_ext_button"));
    QVERIFY(arrow != nullptr);
    QTRY_VERIFY(arrow->isVisible());
    QVERIFY(!expected.isNull());
    QCOMPARE(arrow->icon().pixmap(16).toImage(), expected);
}

QTEST_MAIN(StartStyleTest)
#include "test_startstyle.moc"
