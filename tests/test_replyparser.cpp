// The window's side of a reply: each kind of change the interpretation can ask for reaches its
// control (text field, list by position, by item text, no selection, memo, IO row, console, status
// text, boxes), in the language and on the road the window's state gives. Each row compares the whole
// window before and after, so it also proves that nothing else changed. What a reply means is tested
// without the window, in tests/core/test_replycore.cpp.

#include "protocol/ReplyInterpreter.h"
#include "support/TestSupport.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>
#include <utility>

using Changes = QList<std::pair<QString, QString>>;

namespace {

QString fieldKey(Field id)
{
    return QStringLiteral("field %1").arg(static_cast<int>(id));
}

QString ioKey(int row, const char *part)
{
    return QStringLiteral("io%1 %2").arg(row).arg(QLatin1String(part));
}

const QString kMemo = QStringLiteral("memo");
const QString kStatus = QStringLiteral("status");
const QString kNone = QStringLiteral("<none>");
const QString kPresetStatus = QStringLiteral("Reading ......");

QString valueOf(const QWidget *widget)
{
    if (const auto *box = qobject_cast<const QComboBox *>(widget))
        return box->currentIndex() < 0 ? kNone : box->currentText();
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(widget))
        return memo->toPlainText();
    return QStringLiteral("<missing>");
}

// Everything a reply may write, by key.
QMap<QString, QString> snapshot(MainWindow &form)
{
    QMap<QString, QString> state;
    for (int i = 0; i < static_cast<int>(Field::Count); ++i)
        state[fieldKey(Field(i))] = valueOf(form.field(Field(i)));
    state[kMemo] = state.take(fieldKey(Field::ListMemo));
    for (int n = 1; n <= 8; ++n) {
        state[ioKey(n, "mode")] = valueOf(ioRow(form, n).mode);
        state[ioKey(n, "pull")] = valueOf(ioRow(form, n).pull);
        state[ioKey(n, "level")] = valueOf(ioRow(form, n).level);
    }
    state[kStatus] = form.statusPanel(2);
    return state;
}

QByteArray frame(char function, const QByteArray &payload)
{
    return QByteArray("\xA8\x81", 2) + "12345678901" + "0000" + function + QByteArray(1, '\0') + '\x5a' +
           payload;
}

QString boxText(const BoxRequest &box)
{
    return (box.kind == BoxKind::Warning ? QStringLiteral("warning: ")
            : box.kind == BoxKind::Error ? QStringLiteral("error: ")
                                         : QStringLiteral("other: ")) +
           box.text;
}

// One row of the table, built step by step and added with add().
class Row {
public:
    Row(const char *name, int code, const QByteArray &reply) : name_(name), code_(code), reply_(reply) {}
    Row &cn()
    {
        language_ = QStringLiteral("CN");
        return *this;
    }
    Row &lastIo(const char *operation)
    {
        lastIo_ = QLatin1String(operation);
        return *this;
    }
    Row &serial()
    {
        serial_ = true;
        return *this;
    }
    Row &set(Field id, const QString &value)
    {
        changes_.append({fieldKey(id), value});
        return *this;
    }
    Row &io(int row, const char *part, const QString &value)
    {
        changes_.append({ioKey(row, part), value});
        return *this;
    }
    Row &memo(const QString &value)
    {
        changes_.append({kMemo, value});
        return *this;
    }
    Row &line(const QString &text)
    {
        console_ << text;
        return *this;
    }
    Row &box(const QString &text)
    {
        boxes_ << text;
        return *this;
    }
    Row &status(const QString &text)
    {
        status_ = text;
        return *this;
    }
    void add()
    {
        QTest::newRow(name_) << code_ << language_ << lastIo_ << reply_ << serial_ << changes_ << console_
                             << boxes_ << status_;
    }

private:
    const char *name_;
    int code_;
    QByteArray reply_;
    QString language_ = QStringLiteral("EN");
    QString lastIo_;
    bool serial_ = false;
    Changes changes_;
    QStringList console_;
    QStringList boxes_;
    QString status_ = kPresetStatus;
};

} // namespace

class ReplyParserTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void effectsReachTheirControls_data();
    void effectsReachTheirControls();

private:
    void presetRow();

    std::unique_ptr<BoxRecorder> boxes_;
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<MainWindow> form_;
};

void ReplyParserTest::initTestCase()
{
    boxes_ = std::make_unique<BoxRecorder>();
    dir_ = std::make_unique<WorkDir>(WorkDir::testConfig(QStringLiteral("/nonexistent/tty")));
    form_ = makeMainWindow();
    for (int i = 0; i < static_cast<int>(Field::Count); ++i)
        QVERIFY2(form_->field(Field(i)), qPrintable(fieldKey(Field(i))));
    for (int n = 1; n <= 8; ++n)
        QVERIFY(ioRow(*form_, n).mode && ioRow(*form_, n).pull && ioRow(*form_, n).level);
}

void ReplyParserTest::cleanupTestCase()
{
    form_.reset();
    dir_.reset();
    boxes_.reset();
}

void ReplyParserTest::effectsReachTheirControls_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lastIo");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("serial");
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QStringList>("console");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("status");

    const QString complete = QStringLiteral("Operate complete!");
    const QString parameters = QStringLiteral("Remoete Set WIFI module:12345678901 Parameters successfully!");
    Row("text field", 126, "5001").set(Field::LocalPort, "5001").status(complete).add();
    Row("text beyond the typing limit, whole", 138, "123456789012")
        .set(Field::DeviceId, "123456789012")
        .status(complete)
        .add();
    Row("list by position", 118, "2\r\n").set(Field::WorkMode, "AP").status(complete).add();
    Row("list position past the end", 117, "2").set(Field::DebugOutput, kNone).status(complete).add();
    Row("no selection", 118, "0").set(Field::WorkMode, kNone).status(complete).add();
    Row("list by item text", 113, "\t115200\r\n").set(Field::Baud, "115200").status(complete).add();
    Row("list by item text, none equal: kept", 113, "115201").status(complete).add();
    Row("list by item text or none", 1, frame('\x09', "19=1.5;"))
        .set(Field::StopBits, "1.5")
        .line(parameters)
        .status(complete)
        .add();
    Row("list by item text or none, none equal", 1, frame('\x09', "17=12345;"))
        .set(Field::Baud, kNone)
        .line(parameters)
        .status(complete)
        .add();
    // The memo keeps what it held: lists of several replies accumulate.
    Row("memo", 7, "+LSSTAINF:2\r\n").memo("old\n+LSSTAINF:2\n").status(complete).add();
    Row("IO level", 12, "IO16=1\r\n").io(1, "level", "高电平").status(complete).add();
    Row("IO row from a frame", 1, frame('\x05', "OFB21OFB21"))
        .io(2, "mode", "Output")
        .io(2, "pull", "悬浮")
        .io(2, "level", "高电平")
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .status(complete)
        .add();
    Row("console line", 3, "OK").line("Restar successfully!").status(complete).add();
    Row("language and last IO operation", 1, frame('\x09', " 1=1;\r\n"))
        .cn()
        .lastIo("R")
        .set(Field::WorkMode, "Station")
        .line("远程读取WIFI模块:12345678901 参数成功！")
        .status("操作完成！")
        .add();
    Row("warning box", 1, frame('\x05', "OFB21OFB20"))
        .box("warning: IO value verify error!")
        .line("Remoete Set WIFI module:12345678901 IO successfully!")
        .status(complete)
        .add();
    // A value that does not convert ends the handling: what came before stays, the status is not set.
    Row("no number, serial road", 114, "8,x,1")
        .serial()
        .set(Field::DataBits, "8")
        .box("error: 'x' is not a valid integer value")
        .add();
    Row("no number, TCP road", 114, "8,x,1").set(Field::DataBits, "8").add();
    Row("bare ERROR to a query", 118, "ERROR").serial().add();
}

// Values that make the changes of a row visible.
void ReplyParserTest::presetRow()
{
    for (int n = 1; n <= 8; ++n) {
        ioRow(*form_, n).mode->setCurrentIndex(0);
        ioRow(*form_, n).pull->setCurrentIndex(0);
        ioRow(*form_, n).level->setCurrentIndex(n == 3 ? 1 : -1);
    }
    form_->comboBox(Field::WorkMode)->setCurrentIndex(2);
    form_->comboBox(Field::StopBits)->setCurrentIndex(0);
    form_->comboBox(Field::DataBits)->setCurrentIndex(1);
    form_->comboBox(Field::DebugOutput)->setCurrentIndex(0);
    form_->comboBox(Field::Baud)->setCurrentIndex(0);
    form_->lineEdit(Field::LocalPort)->setText(QStringLiteral("before"));
    form_->memo(Field::ListMemo)->setPlainText(QStringLiteral("old"));
    form_->setStatusPanel(2, kPresetStatus);
}

void ReplyParserTest::effectsReachTheirControls()
{
    QFETCH(int, code);
    QFETCH(QString, language);
    QFETCH(QString, lastIo);
    QFETCH(QByteArray, reply);
    QFETCH(bool, serial);
    QFETCH(Changes, changes);
    QFETCH(QStringList, console);
    QFETCH(QStringList, boxes);
    QFETCH(QString, status);

    presetRow();
    form_->settings().language = language;
    form_->session().cmdType = code;
    form_->session().lastIoOperation = lastIo;
    boxes_->clear();
    const QMap<QString, QString> before = snapshot(*form_);
    const QStringList consoleBefore = form_->console()->lines();

    form_->parseReply(reply, serial ? ReplyRoad::Serial : ReplyRoad::Tcp);

    QMap<QString, QString> expected = before;
    for (const auto &[key, value] : changes)
        expected[key] = value;
    expected[kStatus] = status;
    const QMap<QString, QString> after = snapshot(*form_);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const QString actual = after.value(it.key());
        QVERIFY2(actual == it.value(),
                 qPrintable(QStringLiteral("%1: \"%2\", expected \"%3\"").arg(it.key(), actual, it.value())));
    }
    QCOMPARE(form_->console()->lines(), consoleBefore + console);
    QStringList shown;
    for (const BoxRequest &box : boxes_->boxes)
        shown << boxText(box);
    QCOMPARE(shown, boxes);
    // Replies are not matched to requests: a later text is read by the same state.
    QCOMPARE(form_->session().cmdType, code);
    QCOMPARE(form_->session().lastIoOperation, lastIo);
}

QTEST_MAIN(ReplyParserTest)
#include "test_replyparser.moc"
