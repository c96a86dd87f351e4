// The options dialog: what OK stores and when it refuses, the leave checks on the four fields and
// the ways out of them, the digits-only fields, and the English switch.

#include "support/TestSupport.h"
#include "window/Language.h"
#include "window/MainWindow.h"
#include "window/OptionsDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class OptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void showLoadsTheSharedValues();
    void shortTargetIdStoresNothing_data();
    void shortTargetIdStoresNothing();
    void okReportsOneFieldAtATimeInItsOrder();
    void savedOverLongValueIsShownWholeAndRefused_data();
    void savedOverLongValueIsShownWholeAndRefused();
    void clickingOkFromAShortFieldReportsOnce();
    void tabbingOutOfAShortField_data();
    void tabbingOutOfAShortField();
    void cancelAndEscapeLeaveAShortFieldWithoutABox_data();
    void cancelAndEscapeLeaveAShortFieldWithoutABox();
    void realBoxesDoNotBounceBetweenFields();
    void onlyDigitsEverAppear_data();
    void onlyDigitsEverAppear();
    void cancelAfterEditingKeepsTheOldValues();
    void okStoresBothCheckBoxesAsTheyAre_data();
    void okStoresBothCheckBoxesAsTheyAre();
    void layoutKeepsItsPlaces();
    void mainWindowCreatesTheDialogOnce();
};

namespace {
const QString kTargetId = QStringLiteral("13900000001");
const QString kTargetZone = QStringLiteral("0571");
const QString kLocalId = QStringLiteral("18600000002");
const QString kLocalZone = QStringLiteral("0010");

const QString kGprsIdEn = QStringLiteral("GPRS ID Must be 11 bytes!");
const QString kGprsIdCn = QStringLiteral("GPRS ID应该为11位！");
const QString kLocalIdEn = QStringLiteral("Local ID Must be 11 bytes!");
const QString kLocalIdCn = QStringLiteral("Local ID应该为11位！");
const QString kZoneEn = QStringLiteral("Zone Must be 4 bytes!");
const QString kZoneCn = QStringLiteral("区号应该为4位！");

// What the window hands the dialog: its route, its settings, and its language.
LinkRoute route;
AppSettings settings;
QString dialogLanguage;

void setShared(const QString &language)
{
    route = LinkRoute();
    settings = AppSettings();
    dialogLanguage = language;
    route.targetId = kTargetId;
    route.targetZone = kTargetZone;
    route.targetZoneValid = true;
    route.localId = kLocalId;
    settings.localZone = kLocalZone;
    settings.showHex = false;
}

bool sharedUntouched()
{
    return route.targetId == kTargetId && route.targetZone == kTargetZone && route.targetZoneValid &&
           route.localId == kLocalId && settings.localZone == kLocalZone && !settings.showHex;
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// Opens the dialog as the tool does (modal, not blocking the test) and makes it the active window,
// so that focus changes and leave checks happen as for a user.
bool openActive(OptionsDialog &dialog)
{
    dialog.open();
    return QTest::qWaitForWindowActive(&dialog);
}

bool focusInto(QLineEdit *edit)
{
    edit->setFocus(Qt::MouseFocusReason);
    return edit->hasFocus();
}
} // namespace

void OptionsTest::init()
{
    setShared(QStringLiteral("CN"));
}

void OptionsTest::showLoadsTheSharedValues()
{
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    route.targetZoneValid = false;
    settings.showHex = true;
    QVERIFY(openActive(dialog));
    QCOMPARE(control<QLineEdit>(dialog, "targetIdEdit")->text(), kTargetId);
    QCOMPARE(control<QLineEdit>(dialog, "targetZoneEdit")->text(), kTargetZone);
    QCOMPARE(control<QLineEdit>(dialog, "localIdEdit")->text(), kLocalId);
    QCOMPARE(control<QLineEdit>(dialog, "localZoneEdit")->text(), kLocalZone);
    QVERIFY(!control<QCheckBox>(dialog, "zoneValidCheck")->isChecked());
    QVERIFY(control<QCheckBox>(dialog, "showHexCheck")->isChecked());
    QVERIFY(control<QLineEdit>(dialog, "targetIdEdit")->hasFocus());
    QVERIFY(dialog.isModal());
}

void OptionsTest::shortTargetIdStoresNothing_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("english") << QStringLiteral("EN") << kGprsIdEn;
    QTest::newRow("chinese") << QStringLiteral("CN") << kGprsIdCn;
}

void OptionsTest::shortTargetIdStoresNothing()
{
    QFETCH(QString, language);
    QFETCH(QString, message);
    setShared(language);
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    // Every other field valid and changed: none of it may be stored either.
    retype(control<QLineEdit>(dialog, "targetIdEdit"), QStringLiteral("1234567890"));
    retype(control<QLineEdit>(dialog, "targetZoneEdit"), QStringLiteral("9999"));
    retype(control<QLineEdit>(dialog, "localIdEdit"), QStringLiteral("99999999999"));
    retype(control<QLineEdit>(dialog, "localZoneEdit"), QStringLiteral("8888"));
    control<QCheckBox>(dialog, "zoneValidCheck")->setChecked(false);
    control<QCheckBox>(dialog, "showHexCheck")->setChecked(true);

    QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes.front().kind, BoxKind::Warning);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
    QVERIFY(control<QLineEdit>(dialog, "targetIdEdit")->hasFocus());
    QVERIFY(sharedUntouched());
}

void OptionsTest::okReportsOneFieldAtATimeInItsOrder()
{
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    retype(control<QLineEdit>(dialog, "localIdEdit"), QStringLiteral("1234567890"));
    retype(control<QLineEdit>(dialog, "targetZoneEdit"), QStringLiteral("123"));

    QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{kLocalIdCn});
    QVERIFY(control<QLineEdit>(dialog, "localIdEdit")->hasFocus());

    // The user mends the local ID and leaves it by Tab; only now is the target zone's turn.
    QTest::keyClicks(control<QLineEdit>(dialog, "localIdEdit"), QStringLiteral("5"));
    QTest::keyClick(control<QLineEdit>(dialog, "localIdEdit"), Qt::Key_Tab);
    QCOMPARE(boxes.texts(), QStringList{kLocalIdCn});
    QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), (QStringList{kLocalIdCn, kZoneCn}));
    QVERIFY(control<QLineEdit>(dialog, "targetZoneEdit")->hasFocus());
    QVERIFY(dialog.isVisible());
    QVERIFY(sharedUntouched());

    // Mended: Enter in the field presses OK, which stores and closes.
    QTest::keyClicks(control<QLineEdit>(dialog, "targetZoneEdit"), QStringLiteral("4"));
    QTest::keyClick(control<QLineEdit>(dialog, "targetZoneEdit"), Qt::Key_Return);
    QCOMPARE(boxes.boxes.size(), 2);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(route.localId, QStringLiteral("12345678905"));
    QCOMPARE(route.targetZone, QStringLiteral("1234"));
    QCOMPARE(route.targetId, kTargetId);
    QCOMPARE(settings.localZone, kLocalZone);
}

void OptionsTest::savedOverLongValueIsShownWholeAndRefused_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    QTest::newRow("target id, en") << QStringLiteral("EN") << QByteArray("targetIdEdit")
                                   << QStringLiteral("1390000000123") << 11 << kGprsIdEn;
    QTest::newRow("local id, cn") << QStringLiteral("CN") << QByteArray("localIdEdit")
                                  << QStringLiteral("186000000021") << 11 << kLocalIdCn;
    QTest::newRow("local zone, en") << QStringLiteral("EN") << QByteArray("localZoneEdit")
                                    << QStringLiteral("001099") << 4 << kZoneEn;
    QTest::newRow("target zone, cn") << QStringLiteral("CN") << QByteArray("targetZoneEdit")
                                     << QStringLiteral("05710") << 4 << kZoneCn;
}

// A value saved longer than its field (Config.ini edited by hand, another tool) must not be stored back
// cut by a plain OK: the frames would then address another module.
void OptionsTest::savedOverLongValueIsShownWholeAndRefused()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, field);
    QFETCH(QString, saved);
    QFETCH(int, limit);
    QFETCH(QString, message);
    setShared(language);
    QString *shared = field == "targetIdEdit"    ? &route.targetId
                      : field == "localIdEdit"   ? &route.localId
                      : field == "localZoneEdit" ? &settings.localZone
                                                 : &route.targetZone;
    *shared = saved;
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    auto *edit = control<QLineEdit>(dialog, QString::fromLatin1(field));
    QCOMPARE(edit->text(), saved);

    QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{message});
    QVERIFY(dialog.isVisible());
    QVERIFY(edit->hasFocus());
    QCOMPARE(*shared, saved);

    // Mended by deleting the extra digits; the field's own limit holds again from then on.
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, QStringLiteral("7"));
    QCOMPARE(edit->text(), saved);
    for (int extra = int(saved.size()) - limit; extra > 0; --extra)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, QStringLiteral("7"));
    QCOMPARE(edit->text(), saved.left(limit));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(boxes.texts(), QStringList{message});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(*shared, saved.left(limit));
}

void OptionsTest::clickingOkFromAShortFieldReportsOnce()
{
    // The mouse press on OK takes the focus from the short local zone field; OK's own order
    // decides what is reported, and only once.
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    QVERIFY(focusInto(control<QLineEdit>(dialog, "localZoneEdit")));
    retype(control<QLineEdit>(dialog, "localZoneEdit"), QStringLiteral("12"));
    retype(control<QLineEdit>(dialog, "targetIdEdit"),
           QStringLiteral("123")); // typed into without taking the focus
    QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(boxes.texts(), QStringList{kGprsIdCn});
    QVERIFY(control<QLineEdit>(dialog, "targetIdEdit")->hasFocus());
    QVERIFY(dialog.isVisible());
    QVERIFY(sharedUntouched());
}

void OptionsTest::tabbingOutOfAShortField_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("target zone, en") << QStringLiteral("EN") << QByteArray("targetZoneEdit")
                                     << QStringLiteral("123") << kZoneEn;
    QTest::newRow("target zone, cn") << QStringLiteral("CN") << QByteArray("targetZoneEdit")
                                     << QStringLiteral("123") << kZoneCn;
    QTest::newRow("local zone, en") << QStringLiteral("EN") << QByteArray("localZoneEdit")
                                    << QStringLiteral("123") << kZoneEn;
    QTest::newRow("local zone, cn") << QStringLiteral("CN") << QByteArray("localZoneEdit")
                                    << QStringLiteral("123") << kZoneCn;
    QTest::newRow("target id, empty")
        << QStringLiteral("EN") << QByteArray("targetIdEdit") << QString() << kGprsIdEn;
    QTest::newRow("local id, cn") << QStringLiteral("CN") << QByteArray("localIdEdit")
                                  << QStringLiteral("1234567890") << kLocalIdCn;
    QTest::newRow("full zone, no box")
        << QStringLiteral("CN") << QByteArray("localZoneEdit") << QStringLiteral("1234") << QString();
}

void OptionsTest::tabbingOutOfAShortField()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    setShared(language);
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    auto *edit = control<QLineEdit>(dialog, QString::fromLatin1(field));
    QVERIFY(focusInto(edit));
    retype(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    if (message.isEmpty()) {
        QVERIFY(boxes.boxes.isEmpty());
        QVERIFY(!edit->hasFocus());
    } else {
        QCOMPARE(boxes.texts(), QStringList{message});
        QVERIFY(edit->hasFocus());
        // Leaving backwards is leaving too, except from the first field, whose previous stop is
        // Cancel: the way out must stay open.
        QTest::keyClick(edit, Qt::Key_Backtab);
        if (edit == control<QLineEdit>(dialog, "targetIdEdit")) {
            QCOMPARE(boxes.texts(), QStringList{message});
            QVERIFY(control<QPushButton>(dialog, "cancelButton")->hasFocus());
        } else {
            QCOMPARE(boxes.texts(), (QStringList{message, message}));
            QVERIFY(edit->hasFocus());
        }
    }
    QVERIFY(sharedUntouched());
}

void OptionsTest::cancelAndEscapeLeaveAShortFieldWithoutABox_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Cancel clicked") << false;
    QTest::newRow("Escape pressed") << true;
}

void OptionsTest::cancelAndEscapeLeaveAShortFieldWithoutABox()
{
    QFETCH(bool, escape);
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    QVERIFY(focusInto(control<QLineEdit>(dialog, "targetZoneEdit")));
    retype(control<QLineEdit>(dialog, "targetZoneEdit"), QStringLiteral("12"));
    if (escape)
        QTest::keyClick(control<QLineEdit>(dialog, "targetZoneEdit"), Qt::Key_Escape);
    else
        QTest::mouseClick(control<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(sharedUntouched());
}

void OptionsTest::realBoxesDoNotBounceBetweenFields()
{
    // With real message boxes each box takes the focus and gives it back when it closes; neither
    // may count as leaving a field again, and Cancel must still close the dialog.
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    QStringList shown;
    QTimer answerer;
    answerer.setInterval(10);
    connect(&answerer, &QTimer::timeout, this, [&shown] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->accept();
        }
    });
    answerer.start();

    retype(control<QLineEdit>(dialog, "targetIdEdit"), QStringLiteral("123"));
    retype(control<QLineEdit>(dialog, "targetZoneEdit"), QStringLiteral("12"));
    QVERIFY(focusInto(control<QLineEdit>(dialog, "targetIdEdit")));
    QTest::keyClick(control<QLineEdit>(dialog, "targetIdEdit"), Qt::Key_Tab); // into the short target zone
    QCOMPARE(shown, QStringList{kGprsIdCn});
    // A window manager hands the activation back when the box closes; the offscreen platform does not.
    if (QApplication::activeWindow() != &dialog)
        dialog.activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeWindow() == &dialog, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(control<QLineEdit>(dialog, "targetIdEdit")->hasFocus(), 10000);
    // A bouncing box would come from events already queued: once a timer queued behind them has run,
    // they all have.
    bool drained = false;
    QTimer::singleShot(0, &dialog, [&drained] { drained = true; });
    QTRY_VERIFY(drained);
    QCOMPARE(shown, QStringList{kGprsIdCn});

    QTest::mouseClick(control<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(shown, QStringList{kGprsIdCn});
    QVERIFY(sharedUntouched());
}

void OptionsTest::onlyDigitsEverAppear_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<int>("maxLength");
    QTest::newRow("target id") << QByteArray("targetIdEdit") << 11;
    QTest::newRow("target zone") << QByteArray("targetZoneEdit") << 4;
    QTest::newRow("local id") << QByteArray("localIdEdit") << 11;
    QTest::newRow("local zone") << QByteArray("localZoneEdit") << 4;
}

void OptionsTest::onlyDigitsEverAppear()
{
    QFETCH(QByteArray, field);
    QFETCH(int, maxLength);
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    auto *edit = control<QLineEdit>(dialog, QString::fromLatin1(field));
    QVERIFY(focusInto(edit));
    retype(edit, QStringLiteral("a1 B-2.c+"));
    QCOMPARE(edit->text(), QStringLiteral("12"));
    // A character from an input method and a full-width digit are not 0 to 9 either.
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("中"), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("３"), Qt::NoModifier);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    // Pasted text bypasses the keys; it must not smuggle letters in.
    edit->insert(QStringLiteral("3x"));
    QCOMPARE(edit->text(), QStringLiteral("12"));
    edit->insert(QStringLiteral("34"));
    QCOMPARE(edit->text(), QStringLiteral("1234"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QStringLiteral("123"));
    QTest::keyClicks(edit, QStringLiteral("4567890123456"));
    QCOMPARE(edit->text().size(), maxLength);
    QVERIFY(boxes.boxes.isEmpty());
}

void OptionsTest::cancelAfterEditingKeepsTheOldValues()
{
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    retype(control<QLineEdit>(dialog, "targetIdEdit"), QStringLiteral("11111111111"));
    retype(control<QLineEdit>(dialog, "targetZoneEdit"), QStringLiteral("2222"));
    retype(control<QLineEdit>(dialog, "localIdEdit"), QStringLiteral("33333333333"));
    retype(control<QLineEdit>(dialog, "localZoneEdit"), QStringLiteral("4444"));
    QTest::mouseClick(control<QCheckBox>(dialog, "zoneValidCheck"), Qt::LeftButton);
    QTest::mouseClick(control<QCheckBox>(dialog, "showHexCheck"), Qt::LeftButton);
    QVERIFY(!control<QCheckBox>(dialog, "zoneValidCheck")->isChecked());
    QVERIFY(control<QCheckBox>(dialog, "showHexCheck")->isChecked());
    QTest::mouseClick(control<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(sharedUntouched());
    QVERIFY(boxes.boxes.isEmpty());

    QVERIFY(openActive(dialog));
    QCOMPARE(control<QLineEdit>(dialog, "targetIdEdit")->text(), kTargetId);
    QCOMPARE(control<QLineEdit>(dialog, "targetZoneEdit")->text(), kTargetZone);
    QCOMPARE(control<QLineEdit>(dialog, "localIdEdit")->text(), kLocalId);
    QCOMPARE(control<QLineEdit>(dialog, "localZoneEdit")->text(), kLocalZone);
    QVERIFY(control<QCheckBox>(dialog, "zoneValidCheck")->isChecked());
    QVERIFY(!control<QCheckBox>(dialog, "showHexCheck")->isChecked());
    QVERIFY(control<QLineEdit>(dialog, "targetIdEdit")->hasFocus());
}

void OptionsTest::okStoresBothCheckBoxesAsTheyAre_data()
{
    QTest::addColumn<bool>("zoneValid");
    QTest::addColumn<bool>("hex");
    QTest::newRow("zone valid cleared, hex set") << false << true;
    QTest::newRow("both cleared") << false << false;
    QTest::newRow("both set") << true << true;
    QTest::newRow("as loaded") << true << false;
}

void OptionsTest::okStoresBothCheckBoxesAsTheyAre()
{
    QFETCH(bool, zoneValid);
    QFETCH(bool, hex);
    BoxRecorder boxes;
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    retype(control<QLineEdit>(dialog, "targetIdEdit"), QStringLiteral("00000000009"));
    retype(control<QLineEdit>(dialog, "localZoneEdit"), QStringLiteral("0000"));
    if (control<QCheckBox>(dialog, "zoneValidCheck")->isChecked() != zoneValid)
        QTest::mouseClick(control<QCheckBox>(dialog, "zoneValidCheck"), Qt::LeftButton);
    if (control<QCheckBox>(dialog, "showHexCheck")->isChecked() != hex)
        QTest::mouseClick(control<QCheckBox>(dialog, "showHexCheck"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    QVERIFY(boxes.boxes.isEmpty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(route.targetId, QStringLiteral("00000000009"));
    QCOMPARE(route.targetZone, kTargetZone);
    QCOMPARE(route.localId, kLocalId);
    QCOMPARE(settings.localZone, QStringLiteral("0000"));
    QCOMPARE(route.targetZoneValid, zoneValid);
    QCOMPARE(settings.showHex, hex);
}

void OptionsTest::layoutKeepsItsPlaces()
{
    OptionsDialog dialog(route, settings, ChineseLanguage(dialogLanguage));
    QVERIFY(openActive(dialog));
    const auto at = [&dialog](const QWidget *w) { return QRect(w->mapTo(&dialog, QPoint()), w->size()); };
    const QRect target = at(control<QGroupBox>(dialog, "targetGroup")),
                local = at(control<QGroupBox>(dialog, "localGroup")),
                hex = at(control<QCheckBox>(dialog, "showHexCheck"));
    const QRect ok = at(control<QPushButton>(dialog, "okButton")),
                cancel = at(control<QPushButton>(dialog, "cancelButton"));
    QVERIFY(target.bottom() < local.top());
    QVERIFY(local.bottom() < hex.top());
    QVERIFY(ok.bottom() < cancel.top());
    QVERIFY(ok.left() > target.right() && ok.left() > local.right());
    QVERIFY(ok.top() <= target.top() + target.height() / 2);
    // The zone-valid caption stands on the left of its box.
    QCOMPARE(control<QCheckBox>(dialog, "zoneValidCheck")->layoutDirection(), Qt::RightToLeft);
}

void OptionsTest::mainWindowCreatesTheDialogOnce()
{
    BoxRecorder boxes;
    WorkDir dir(WorkDir::testConfig(QStringLiteral("/nonexistent/qxtest-options")));
    auto form = makeMainWindow();
    OptionsDialog *dialog = form->optionsDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->parentWidget(), form.get());
    QCOMPARE(form->findChildren<OptionsDialog *>().size(), 1);
    QVERIFY(!dialog->isVisible());
    const QStringList names = {QStringLiteral("targetIdEdit"),   QStringLiteral("targetZoneEdit"),
                               QStringLiteral("zoneValidCheck"), QStringLiteral("localIdEdit"),
                               QStringLiteral("localZoneEdit"),  QStringLiteral("showHexCheck"),
                               QStringLiteral("okButton"),       QStringLiteral("cancelButton")};
    for (const QString &name : names)
        QVERIFY2(dialog->findChild<QWidget *>(name), qPrintable(name));
}

QTEST_MAIN(OptionsTest)
#include "test_options.moc"
