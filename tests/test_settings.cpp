#include "protocol/IniProfile.h"
#include "support/FileBytes.h"
#include "support/ImmutableFile.h"
#include "support/TestSupport.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"
#include "window/Settings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

#include <memory>

namespace {

// The settings value under test, as the window holds it between start-up and close.
AppSettings current;

// Every value that Config.ini feeds, by name.
QVariantMap snapshot()
{
    return {
        {QStringLiteral("ComPort"), current.comPort},
        {QStringLiteral("BaudIndex"), current.baudIndex},
        {QStringLiteral("Language"), current.language},
        {QStringLiteral("BrandCode"), current.brandCode},
        {QStringLiteral("MakerText"), current.makerText},
        {QStringLiteral("ServerIP"), current.serverIp},
        {QStringLiteral("ServerIP2"), current.serverIp2},
        {QStringLiteral("FirstIP"), current.firstIp},
        {QStringLiteral("UDPPort"), current.udpPort},
        {QStringLiteral("TCPPort"), current.tcpPort},
        {QStringLiteral("Protocol"), current.protocol},
        {QStringLiteral("AutoChange"), current.autoChange},
        {QStringLiteral("Nobacktimes"), current.nobacktimes},
        {QStringLiteral("TargetID"), current.targetId},
        {QStringLiteral("TargetZone"), current.targetZone},
        {QStringLiteral("LocalZone"), current.localZone},
        {QStringLiteral("LocalID"), current.localId},
        {QStringLiteral("TargetZoneValid"), current.targetZoneValid},
        {QStringLiteral("HeartInterval"), current.heartInterval},
        {QStringLiteral("BLHeart"), current.blHeart},
        {QStringLiteral("CheckOnLineInterval"), current.checkOnLineInterval},
        {QStringLiteral("CheckOnLine"), current.checkOnLine},
        {QStringLiteral("FontCharset"), current.fontCharset},
        {QStringLiteral("FontName"), current.fontName},
        {QStringLiteral("LinkType"), current.linkType},
        {QStringLiteral("UDPPort2"), current.udpPort2},
        {QStringLiteral("TCPPort2"), current.tcpPort2},
        {QStringLiteral("AddQuotes"), current.addQuotes},
        {QStringLiteral("ShowHex"), current.showHex},
    };
}

// The defaults the settings file documents.
QVariantMap documentedDefaults()
{
    return {
        {QStringLiteral("ComPort"), 1},
        {QStringLiteral("BaudIndex"), 9},
        {QStringLiteral("Language"), QStringLiteral("CN")},
        {QStringLiteral("BrandCode"), 1},
        {QStringLiteral("MakerText"), kMakerNameChinese},
        {QStringLiteral("ServerIP"), QStringLiteral("192.168.16.1")},
        {QStringLiteral("ServerIP2"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("FirstIP"), 1},
        {QStringLiteral("UDPPort"), 7777},
        {QStringLiteral("TCPPort"), 8888},
        {QStringLiteral("Protocol"), QStringLiteral("UDP")},
        {QStringLiteral("AutoChange"), true},
        {QStringLiteral("Nobacktimes"), 3},
        {QStringLiteral("TargetID"), QStringLiteral("00000000000")},
        {QStringLiteral("TargetZone"), QStringLiteral("0000")},
        {QStringLiteral("LocalZone"), QStringLiteral("0000")},
        {QStringLiteral("LocalID"), QStringLiteral("00000000000")},
        {QStringLiteral("TargetZoneValid"), true},
        {QStringLiteral("HeartInterval"), 30},
        {QStringLiteral("BLHeart"), false},
        {QStringLiteral("CheckOnLineInterval"), 30},
        {QStringLiteral("CheckOnLine"), false},
        {QStringLiteral("FontCharset"), 0},
        {QStringLiteral("FontName"), QStringLiteral("Arial")},
        {QStringLiteral("LinkType"), 0},
        {QStringLiteral("UDPPort2"), 7777},
        {QStringLiteral("TCPPort2"), 8888},
        {QStringLiteral("AddQuotes"), true},
        {QStringLiteral("ShowHex"), false},
    };
}

// Values unlike any default, so that a load which leaves a variable alone is seen.
void setEveryVariableAwayFromDefaults()
{
    current.comPort = 17;
    current.baudIndex = 3;
    current.language = QStringLiteral("XX");
    current.brandCode = 42;
    current.makerText = QStringLiteral("junk");
    current.serverIp = QStringLiteral("127.0.0.9");
    current.serverIp2 = QStringLiteral("127.0.0.10");
    current.firstIp = 5;
    current.udpPort = 1;
    current.tcpPort = 2;
    current.protocol = QStringLiteral("TCP");
    current.autoChange = false;
    current.nobacktimes = 99;
    current.targetId = QStringLiteral("12345678901");
    current.targetZone = QStringLiteral("4321");
    current.localZone = QStringLiteral("8765");
    current.localId = QStringLiteral("10987654321");
    current.targetZoneValid = false;
    current.heartInterval = 61;
    current.blHeart = true;
    current.checkOnLineInterval = 62;
    current.checkOnLine = true;
    current.fontCharset = 134;
    current.fontName = QStringLiteral("宋体");
    current.linkType = 2;
    current.udpPort2 = 7001;
    current.tcpPort2 = 9001;
    current.addQuotes = false;
    current.showHex = true;
}

void compareMaps(const QVariantMap &actual, const QVariantMap &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(actual.value(it.key()) == it.value(),
                 qPrintable(QStringLiteral("%1: %2, expected %3")
                                .arg(it.key(), actual.value(it.key()).toString(), it.value().toString())));
}

// What the first save writes for an empty file and the default settings.
const QByteArray kDefaultFile = "[info]\r\n"
                                "COM=1\r\n"
                                "BaudRate=9\r\n"
                                "\r\n"
                                "[Network]\r\n"
                                "TargetGPRSID=00000000000\r\n"
                                "TargetZone=0000\r\n"
                                "TargetZonValid=1\r\n"
                                "FirstIP=1\r\n"
                                "UDPPort=7777\r\n"
                                "TCPPort=8888\r\n"
                                "Protocol=UDP\r\n"
                                "AutoChange=1\r\n"
                                "Nobacktimes=3\r\n"
                                "COMType=0\r\n"
                                "UDPPort2=7777\r\n"
                                "TCPPort2=8888\r\n"
                                "ServerIP=192.168.16.1\r\n"
                                "ServerIP2=127.0.0.1\r\n"
                                "\r\n"
                                "[Local]\r\n"
                                "LocalZone=0000\r\n"
                                "LocalID=00000000000\r\n"
                                "\r\n"
                                "[Heart]\r\n"
                                "Interval=30\r\n"
                                "BLHeart=0\r\n"
                                "\r\n"
                                "[CheckOnLine]\r\n"
                                "Interval=30\r\n"
                                "CheckOnLine=0\r\n"
                                "\r\n"
                                "[Program]\r\n"
                                "FontCharset=0\r\n"
                                "FontName=Arial\r\n"
                                "AddChr=1\r\n"
                                "ShowHEX=0\r\n";

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void unusableFileGivesDefaults_data();
    void unusableFileGivesDefaults();
    void firstSaveWritesTheSavedKeys();
    void savedKeysRoundTrip();
    void saveKeepsEveryOtherLine_data();
    void saveKeepsEveryOtherLine();
    void readsValues_data();
    void readsValues();
    void languageIsNeverWritten();
    void chineseTextIsGbkInTheFile();
    void portMapRoundTrip();
    void failedSaveReportsAndKeepsTheOldFile_data();
    void failedSaveReportsAndKeepsTheOldFile();
    void emptyFolderMeansTheWorkingDirectory();
    void quotedValuesStartTheTool();
    void closeSavesWhereTheFolderRefusesNewFiles_data();
    void closeSavesWhereTheFolderRefusesNewFiles();
};

void TestSettings::init()
{
    current = AppSettings();
}

void TestSettings::cleanup()
{
    current.ports.clear();
}

void TestSettings::unusableFileGivesDefaults_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("empty") << QStringLiteral("empty");
    QTest::newRow("binary") << QStringLiteral("binary");
    QTest::newRow("over the size cap") << QStringLiteral("oversized");
    QTest::newRow("a directory") << QStringLiteral("directory");
}

void TestSettings::unusableFileGivesDefaults()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    if (kind == QLatin1String("empty")) {
        writeFile(path, QByteArray());
    } else if (kind == QLatin1String("binary")) {
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = static_cast<char>((i * 7919) & 0xff);
        writeFile(path, junk);
    } else if (kind == QLatin1String("oversized")) {
        // Valid settings at the top, but the whole file is beyond what is parsed.
        QByteArray content("[info]\r\nCOM=5\r\n[Ver]\r\nCEO=EN\r\n");
        content += QByteArray(IniProfile::kMaxFileSize, ';');
        writeFile(path, content);
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Config.ini")));
    }

    setEveryVariableAwayFromDefaults();
    current.ports.setDevicePath(2, QStringLiteral("/dev/stale"));
    current = LoadSettings(dir.path(), current.ports);
    compareMaps(snapshot(), documentedDefaults());
    QVERIFY(current.ports.mapped().isEmpty());
}

void TestSettings::firstSaveWritesTheSavedKeys()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    current = LoadSettings(dir.path(), current.ports);
    QString error;
    QVERIFY2(SaveSettings(dir.path(), current, &error), qPrintable(error));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("Config.ini"))), kDefaultFile);

    // An empty file ends the same way as a missing one.
    writeFile(dir.filePath(QStringLiteral("Config.ini")), QByteArray());
    current = LoadSettings(dir.path(), current.ports);
    QVERIFY(SaveSettings(dir.path(), current, &error));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("Config.ini"))), kDefaultFile);
}

void TestSettings::savedKeysRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    setEveryVariableAwayFromDefaults();
    QVariantMap saved = snapshot();
    QString error;
    QVERIFY2(SaveSettings(dir.path(), current, &error), qPrintable(error));

    current = AppSettings();
    current = LoadSettings(dir.path(), current.ports);
    // Language, brand and maker's name are read only; every other variable comes back as saved.
    saved[QStringLiteral("Language")] = QStringLiteral("CN");
    saved[QStringLiteral("BrandCode")] = 1;
    saved[QStringLiteral("MakerText")] = kMakerNameChinese;
    compareMaps(snapshot(), saved);

    // A second save of unchanged settings changes no byte.
    const QByteArray first = readFile(dir.filePath(QStringLiteral("Config.ini")));
    QVERIFY(SaveSettings(dir.path(), current, &error));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("Config.ini"))), first);
}

void TestSettings::saveKeepsEveryOtherLine_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::newRow("CRLF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
}

void TestSettings::saveKeepsEveryOtherLine()
{
    QFETCH(QByteArray, eol);
    QByteArray original;
    const QList<QByteArray> lines = {"; written by hand",
                                     "",
                                     "[Ver]",
                                     "CEO=EN",
                                     "Ori=9999",
                                     "",
                                     "[info]",
                                     "CO=\xc6\xf4\xd0\xc5",
                                     "com = 3",
                                     "BaudRate=9",
                                     "Unknown=stays",
                                     "\xff\x01 odd bytes",
                                     "",
                                     "[Vendor]",
                                     "Anything=at all",
                                     "",
                                     "[Network]",
                                     "Fixed=0",
                                     "CommunicationType=Net",
                                     "TargetGPRSID=00000000000",
                                     "TargetZone=0000",
                                     "TargetZonValid=1",
                                     "FirstIP=1",
                                     "UDPPort=7777",
                                     "TCPPort=8888",
                                     "Protocol=UDP",
                                     "AutoChange=1",
                                     "Nobacktimes=3",
                                     "COMType=0",
                                     "UDPPort2=7777",
                                     "TCPPort2=8888",
                                     "ServerIP=192.168.16.1",
                                     "ServerIP2=127.0.0.1",
                                     "",
                                     "[Local]",
                                     "LocalUDPPort=1",
                                     "LocalZone=0000",
                                     "LocalID=00000000000",
                                     "",
                                     "[Heart]",
                                     "Interval=30",
                                     "BLHeart=0",
                                     "",
                                     "[CheckOnLine]",
                                     "Interval=30",
                                     "CheckOnLine=0",
                                     "",
                                     "[Program]",
                                     "FontCharset=0",
                                     "FontName=Arial",
                                     "FirstCom=4",
                                     "AddChr=1",
                                     "ShowHEX=0",
                                     "; last line"};
    for (const QByteArray &line : lines)
        original += line + eol;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    writeFile(path, original);
    current = LoadSettings(dir.path(), current.ports);
    QCOMPARE(current.comPort, 3);
    QCOMPARE(current.language, QStringLiteral("EN"));
    QCOMPARE(current.makerText, QStringLiteral("启信"));

    // Values unchanged: the file comes back byte for byte, including the spelling "com = 3".
    QString error;
    QVERIFY2(SaveSettings(dir.path(), current, &error), qPrintable(error));
    QCOMPARE(readFile(path), original);

    // Changed values: only their own lines differ.
    current.comPort = 7;
    current.showHex = true;
    QVERIFY(SaveSettings(dir.path(), current, &error));
    QByteArray expected = original;
    expected.replace("com = 3" + eol, "com = 7" + eol);
    expected.replace("ShowHEX=0" + eol, "ShowHEX=1" + eol);
    QCOMPARE(readFile(path), expected);
}

void TestSettings::readsValues_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QVariant>("expected");

    // How the file is read (numbers, blanks, letter case, duplicates) is the INI reader's and tested
    // there; these rows are the table's own: which key feeds which value, of which type, by default.
    QTest::newRow("ShowHEX=1") << QByteArray("[Program]\nShowHEX=1\n") << "ShowHex" << QVariant(true);
    QTest::newRow("AddChr=yes keeps default true")
        << QByteArray("[Program]\nAddChr=yes\n") << "AddQuotes" << QVariant(true);
    QTest::newRow("AddChr=0") << QByteArray("[Program]\nAddChr=0\n") << "AddQuotes" << QVariant(false);
    QTest::newRow("COM garbage keeps default")
        << QByteArray("[info]\nCOM=COM3\n") << "ComPort" << QVariant(1);
    QTest::newRow("COMType is the link") << QByteArray("[Network]\nCOMType=1\n") << "LinkType" << QVariant(1);
    QTest::newRow("TargetZonValid=0")
        << QByteArray("[Network]\nTargetZonValid=0\n") << "TargetZoneValid" << QVariant(false);
    QTest::newRow("Heart and CheckOnLine intervals are apart")
        << QByteArray("[Heart]\nInterval=11\n[CheckOnLine]\nInterval=22\n") << "CheckOnLineInterval"
        << QVariant(22);
}

void TestSettings::readsValues()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, variable);
    QFETCH(QVariant, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("Config.ini")), content);
    current = LoadSettings(dir.path(), current.ports);
    QCOMPARE(snapshot().value(variable), expected);
}

void TestSettings::languageIsNeverWritten()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    writeFile(path, "[Ver]\r\nCEO=EN\r\n");
    current = LoadSettings(dir.path(), current.ports);
    QCOMPARE(current.language, QStringLiteral("EN"));

    current.language = QStringLiteral("CN");
    QString error;
    QVERIFY(SaveSettings(dir.path(), current, &error));
    const QByteArray saved = readFile(path);
    QVERIFY(saved.startsWith("[Ver]\r\nCEO=EN\r\n\r\n[info]\r\n"));
    QCOMPARE(saved.count("CEO"), 1);
    current = LoadSettings(dir.path(), current.ports);
    QCOMPARE(current.language, QStringLiteral("EN"));
}

void TestSettings::chineseTextIsGbkInTheFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    current.fontName = QStringLiteral("中文");
    QString error;
    QVERIFY(SaveSettings(dir.path(), current, &error));
    QVERIFY(
        readFile(dir.filePath(QStringLiteral("Config.ini"))).contains("\r\nFontName=\xd6\xd0\xce\xc4\r\n"));
    current.fontName.clear();
    current = LoadSettings(dir.path(), current.ports);
    QCOMPARE(current.fontName, QStringLiteral("中文"));
}

void TestSettings::portMapRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Config.ini"));
    const QByteArray ports = "[Ports]\r\n"
                             "COM3=/dev/ttyUSB0\r\n"
                             "com12 = /dev/pts/5\r\n"
                             "COM0=/dev/zero-port\r\n"
                             "COM37=/dev/too-high\r\n"
                             "COMx=/dev/not-a-number\r\n"
                             "COM+4=/dev/signed\r\n"
                             "COM6=\r\n";
    writeFile(path, ports);
    current.ports.setDevicePath(9,
                                QStringLiteral("/dev/from-before")); // the file decides, not an earlier run
    current = LoadSettings(dir.path(), current.ports);
    const QMap<int, QString> expected = {{3, QStringLiteral("/dev/ttyUSB0")},
                                         {12, QStringLiteral("/dev/pts/5")}};
    QCOMPARE(current.ports.mapped(), expected);
    QCOMPARE(current.ports.devicePath(3), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(current.ports.devicePath(1), QStringLiteral("/dev/ttyS0"));

    current.ports.setDevicePath(5, QStringLiteral("/dev/pts/7"));
    QString error;
    QVERIFY(SaveSettings(dir.path(), current, &error));
    const QByteArray saved = readFile(path);
    // The existing lines stay as written; the new port is added to the section.
    QVERIFY2(saved.startsWith(ports + "COM5=/dev/pts/7\r\n"), saved.constData());

    current.ports.clear();
    current = LoadSettings(dir.path(), current.ports);
    QMap<int, QString> all = expected;
    all.insert(5, QStringLiteral("/dev/pts/7"));
    QCOMPARE(current.ports.mapped(), all);

    // Unmapping a port must survive the next start.
    current.ports.setDevicePath(3, QString());
    QVERIFY(SaveSettings(dir.path(), current, &error));
    QVERIFY(readFile(path).startsWith("[Ports]\r\nCOM3=\r\ncom12 = /dev/pts/5\r\n"));
    current = LoadSettings(dir.path(), current.ports);
    all.remove(3);
    QCOMPARE(current.ports.mapped(), all);
}

void TestSettings::failedSaveReportsAndKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("missing folder") << QStringLiteral("missing folder");
    QTest::newRow("directory at the path") << QStringLiteral("directory");
    QTest::newRow("immutable file") << QStringLiteral("immutable");
    QTest::newRow("file over the size cap") << QStringLiteral("oversized");
}

void TestSettings::failedSaveReportsAndKeepsTheOldFile()
{
    QFETCH(QString, obstacle);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = dir.path();
    QByteArray original = "[info]\r\nCOM=2\r\n; mine\r\n";
    std::unique_ptr<ImmutableFile> immutable;
    if (obstacle == QLatin1String("missing folder")) {
        folder = dir.filePath(QStringLiteral("gone"));
    } else if (obstacle == QLatin1String("directory")) {
        QVERIFY(QDir(folder).mkdir(QStringLiteral("Config.ini")));
    } else if (obstacle == QLatin1String("immutable")) {
        writeFile(dir.filePath(QStringLiteral("Config.ini")), original);
        immutable = std::make_unique<ImmutableFile>(dir.filePath(QStringLiteral("Config.ini")));
        if (!immutable->isSet())
            QSKIP(qPrintable(ImmutableFile::unavailableReason()));
    } else {
        // Unreadable content is not thrown away for the settings alone.
        original += QByteArray(IniProfile::kMaxFileSize, ';');
        writeFile(dir.filePath(QStringLiteral("Config.ini")), original);
    }
    const QString path = folder + QStringLiteral("/Config.ini");

    current = LoadSettings(folder, current.ports);
    current.comPort = 9;
    QString error;
    QVERIFY(!SaveSettings(folder, current, &error));
    QCOMPARE(error, QStringLiteral("Unable to write to ") + path);

    if (obstacle == QLatin1String("missing folder"))
        QVERIFY(!QFileInfo::exists(folder));
    else if (obstacle == QLatin1String("directory"))
        QVERIFY(QFileInfo(path).isDir());
    else
        QCOMPARE(readFile(path), original);
}

void TestSettings::emptyFolderMeansTheWorkingDirectory()
{
    // Never "/Config.ini" in the root folder.
    QCOMPARE(SettingsFilePath(QString()), QStringLiteral("./Config.ini"));
    QCOMPARE(SettingsFilePath(QStringLiteral("/opt/qx")), QStringLiteral("/opt/qx/Config.ini"));
    QCOMPARE(SettingsFilePath(QStringLiteral("/opt/qx/")), QStringLiteral("/opt/qx/Config.ini"));
}

void TestSettings::quotedValuesStartTheTool()
{
    BoxRecorder boxes;
    WorkDir dir(
        "[Ver]\r\nCEO=\"CN\"\r\n"
        "[info]\r\nCOM=\"3\"\r\nBaudRate=9\r\n"
        "[Network]\r\nServerIP=\"127.0.0.5\"\r\nServerIP2=127.0.0.1\r\nUDPPort=\"9000\"\r\nCOMType='0'\r\n"
        "[Discovery]\r\nAddress=127.0.0.1\r\n");
    {
        auto form = makeMainWindow();
        // Chinese, and the serial link tried COM3.
        QVERIFY(form->chinese());
        QVERIFY2(boxes.texts().contains(QStringLiteral("打开COM3失败！")),
                 qPrintable(boxes.texts().join(u'|')));
        auto *lanIp = control<QLineEdit>(*form, "lanIpEdit");
        QVERIFY(lanIp != nullptr);
        QCOMPARE(lanIp->text(), QStringLiteral("127.0.0.5"));
        QCOMPARE(form->settings().udpPort, 9000);
        boxes.clear();
        form->show();
        QVERIFY(form->close());
        QCOMPARE(boxes.texts(), QStringList());
    }

    const QByteArray saved = readFile(dir.configPath());
    QVERIFY2(saved.startsWith("[Ver]\r\nCEO=\"CN\"\r\n[info]\r\nCOM=3\r\nBaudRate=9\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\nServerIP=127.0.0.5\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\nUDPPort=9000\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\nCOMType=0\r\n"), saved.constData());
}

void TestSettings::closeSavesWhereTheFolderRefusesNewFiles_data()
{
    QTest::addColumn<bool>("fileWritable");
    QTest::newRow("file writable") << true;
    QTest::newRow("file read-only too") << false;
}

void TestSettings::closeSavesWhereTheFolderRefusesNewFiles()
{
    QFETCH(bool, fileWritable);
    BoxRecorder boxes;
    const QByteArray original =
        WorkDir::testConfig(QStringLiteral("/nonexistent/tty"), "[Ver]\r\nCEO=EN\r\n");
    WorkDir dir(original);
    // The folder refuses new files, so the temporary file of the atomic save cannot be made.
    const ImmutableFile folder(dir.path());
    if (!folder.isSet())
        QSKIP(qPrintable(ImmutableFile::unavailableReason()));
    std::unique_ptr<ImmutableFile> file;
    if (!fileWritable) {
        file = std::make_unique<ImmutableFile>(dir.configPath());
        QVERIFY(file->isSet());
    }

    {
        auto form = makeMainWindow();
        QVERIFY(!form->chinese());
        // Chosen in the serial dialog: the open fails (no device), yet COM5 is the port in use.
        control<QComboBox>(*form->portDialog(), "portBox")->setCurrentIndex(4);
        control<QPushButton>(*form->portDialog(), "openButton")->click();
        // The link and the route the window holds are saved with the settings.
        control<QRadioButton>(*form, "lanLinkRadio")->setChecked(true);
        form->session().route.targetId = QStringLiteral("13900000001");
        boxes.clear();
        form->show();
        QVERIFY(form->close());
        if (fileWritable)
            QCOMPARE(boxes.texts(), QStringList());
        else
            QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Unable to write to ") + dir.configPath()});
    }

    const QByteArray saved = readFile(dir.configPath());
    if (!fileWritable) {
        QCOMPARE(saved, original);
        return;
    }
    QVERIFY2(saved.startsWith("[info]\r\nCOM=5\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\nCOMType=1\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\nTargetGPRSID=13900000001\r\n"), saved.constData());
    QVERIFY2(saved.contains("\r\nTCPPort=8888\r\n"), saved.constData());
    QVERIFY2(saved.contains("[Ver]\r\nCEO=EN\r\n"), saved.constData());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Config.ini")});
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
