// The tool as a desktop application: the menu launcher picks one settings folder per user and falls
// back when a folder cannot be made (run with a stub in place of the tool, so no window opens), and
// installed beside the real tool starts it there with the user's settings; the tool's box when there
// is no folder at all; and the installed files (cmake --install) that make the menu entry, its icon
// and its metadata fit together.

#include "support/ImmutableFile.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"
#include "window/SettingsFolderError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <unistd.h>

namespace {
enum TmpTrap { NoTrap, ForeignFolder, SymlinkFolder };

const QString kAppId = QStringLiteral("io.github.qxsetup.qxsetup");

QString launcherPath()
{
    return qEnvironmentVariable("QX_SOURCE_DIR") + QStringLiteral("/packaging/qxsetup-launch");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void launcherPicksTheSettingsFolder_data();
    void launcherPicksTheSettingsFolder();
    void launcherStartsTheToolBesideIt();
    void settingsFolderErrorBox_data();
    void settingsFolderErrorBox();
    void installedFilesFitTogether();

private:
    QString installRoot();
    QTemporaryDir installDir_;
};

void DesktopTest::launcherPicksTheSettingsFolder_data()
{
    QTest::addColumn<QString>("homeName");   // below the root; empty: HOME unset
    QTest::addColumn<QString>("xdg");        // XDG_CONFIG_HOME: "<root>/..." below the root, else as is
    QTest::addColumn<QStringList>("locked"); // folders below the root that nothing may be written in
    QTest::addColumn<int>("trap");           // what waits at $TMPDIR/qxsetup-<uid> beforehand
    QTest::addColumn<QString>("expected");   // the tool's working directory below the root; empty: gave up

    const auto row = [](const char *name, const QString &home, const QString &xdg, const QStringList &locked,
                        TmpTrap trap, const QString &expected) {
        QTest::newRow(name) << home << xdg << locked << int(trap) << expected;
    };
    const QString home = QStringLiteral("home");
    const QString tmp = QStringLiteral("tmp/qxsetup-%1").arg(getuid());
    const QStringList homeAndXdg{home, QStringLiteral("xdg")};
    row("no ~/.config yet", home, {}, {}, NoTrap, QStringLiteral("home/.config/qxsetup"));
    row("XDG_CONFIG_HOME with blanks and Chinese", home, QStringLiteral("<root>/我的 配置 dir"), {}, NoTrap,
        QStringLiteral("我的 配置 dir/qxsetup"));
    row("home with blanks and Chinese", QStringLiteral("用户 home"), {}, {}, NoTrap,
        QStringLiteral("用户 home/.config/qxsetup"));
    row("relative XDG_CONFIG_HOME is ignored", home, QStringLiteral("relative/config"), {}, NoTrap,
        QStringLiteral("home/.config/qxsetup"));
    row("read-only XDG_CONFIG_HOME", home, QStringLiteral("<root>/xdg"), {QStringLiteral("xdg")}, NoTrap,
        QStringLiteral("home/.config/qxsetup"));
    row("read-only settings folder", home, QStringLiteral("<root>/xdg"), {QStringLiteral("xdg/qxsetup")},
        NoTrap, QStringLiteral("home/.config/qxsetup"));
    row("read-only ~/.config", home, {}, {QStringLiteral("home/.config")}, NoTrap,
        QStringLiteral("home/.qxsetup"));
    row("read-only home", home, QStringLiteral("<root>/xdg"), homeAndXdg, NoTrap, tmp);
    row("no HOME at all", {}, {}, {}, NoTrap, tmp);
    row("nothing can be written", home, QStringLiteral("<root>/xdg"), homeAndXdg + QStringList{"tmp"}, NoTrap,
        {});
    row("temporary folder of another user", home, QStringLiteral("<root>/xdg"), homeAndXdg, ForeignFolder,
        {});
    row("temporary folder is a symlink", home, QStringLiteral("<root>/xdg"), homeAndXdg, SymlinkFolder, {});
}

void DesktopTest::launcherPicksTheSettingsFolder()
{
    QFETCH(QString, homeName);
    QFETCH(QString, xdg);
    QFETCH(QStringList, locked);
    QFETCH(int, trap);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString rootPath = root.path();
    for (const QString &folder : {QStringLiteral("home"), QStringLiteral("用户 home"), QStringLiteral("tmp"),
                                  QStringLiteral("stub 工具"), QStringLiteral("elsewhere")})
        QVERIFY(QDir(rootPath).mkpath(folder));
    // The stub stands in for qxsetup: it writes where it was started and with which arguments.
    const QString stub = rootPath + QStringLiteral("/stub 工具/qxsetup");
    QVERIFY(writeFile(
        stub, "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } >\"$STUB_OUT\"\n"));
    QVERIFY(QFile::setPermissions(stub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QString tmpFolder = rootPath + QStringLiteral("/tmp/qxsetup-%1").arg(getuid());
    if (trap == ForeignFolder) {
        if (getuid() != 0)
            QSKIP("making a folder owned by another user needs root");
        QVERIFY(QDir().mkpath(tmpFolder));
        QVERIFY(::chown(QFile::encodeName(tmpFolder).constData(), 65534, 65534) == 0);
        // Open to all, so that only its owner tells it apart.
        QVERIFY(QFile::setPermissions(tmpFolder, QFileDevice::Permissions(0x7777)));
    } else if (trap == SymlinkFolder) {
        QVERIFY(QFile::link(rootPath + QStringLiteral("/elsewhere"), tmpFolder));
    }
    std::vector<std::unique_ptr<ImmutableFile>> locks;
    for (const QString &folder : locked) {
        QVERIFY(QDir(rootPath).mkpath(folder));
        locks.push_back(std::make_unique<ImmutableFile>(rootPath + QLatin1Char('/') + folder));
        if (!locks.back()->isSet())
            QSKIP(qPrintable(ImmutableFile::unavailableReason()));
    }

    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    if (!homeName.isEmpty())
        env.insert(QStringLiteral("HOME"), rootPath + QLatin1Char('/') + homeName);
    if (!xdg.isEmpty())
        env.insert(QStringLiteral("XDG_CONFIG_HOME"),
                   QString(xdg).replace(QLatin1String("<root>"), rootPath));
    env.insert(QStringLiteral("TMPDIR"), rootPath + QStringLiteral("/tmp"));
    env.insert(QStringLiteral("QXSETUP_LAUNCH_TOOL"), stub);
    const QString out = rootPath + QStringLiteral("/stub.out");
    env.insert(QStringLiteral("STUB_OUT"), out);

    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.setWorkingDirectory(rootPath);
    launcher.start(launcherPath(), {QStringLiteral("an argument"), QStringLiteral("参数")});
    QVERIFY2(launcher.waitForFinished(10000), qPrintable(launcher.errorString()));
    QCOMPARE(launcher.exitCode(), 0);
    const QStringList seen = QString::fromUtf8(readFile(out)).split(QLatin1Char('\n'));
    QVERIFY2(seen.size() >= 3, qPrintable(seen.join(QLatin1Char('|'))));
    if (expected.isEmpty()) {
        QCOMPARE(seen[1], QString::fromLatin1(kSettingsFolderErrorOption));
        // Every folder tried is named for the box, one per line.
        const QString tried = seen.mid(2).join(QLatin1Char('\n'));
        for (const QString &folder : {QStringLiteral("xdg/qxsetup"), QStringLiteral("home/.config/qxsetup"),
                                      QStringLiteral("home/.qxsetup"), QStringLiteral("tmp/qxsetup-")})
            QVERIFY2(tried.contains(rootPath + QLatin1Char('/') + folder), qPrintable(tried));
        QVERIFY(QDir(rootPath + QStringLiteral("/elsewhere")).isEmpty());
        return;
    }
    QCOMPARE(seen[0], rootPath + QLatin1Char('/') + expected);
    QCOMPARE(seen.mid(1, 2), (QStringList{QStringLiteral("an argument"), QStringLiteral("参数")}));
    QVERIFY(QFileInfo(seen[0]).isDir());
}

void DesktopTest::launcherStartsTheToolBesideIt()
{
    // Installed as the package installs them: the launcher and qxsetup side by side, found on PATH.
    QTemporaryDir root;
    const QString bin = root.path() + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::copy(launcherPath(), bin + QStringLiteral("/qxsetup-launch")));
    QVERIFY(QFile::link(qEnvironmentVariable("QXSETUP"), bin + QStringLiteral("/qxsetup")));
    // The settings the user already has name a LAN module here: the tool connecting to it proves it
    // started with them.
    LoopbackServer module;
    const QString folder = root.path() + QStringLiteral("/home/.config/qxsetup");
    QVERIFY(QDir().mkpath(folder));
    const QByteArray config = WorkDir::testConfig(
        QStringLiteral("/nonexistent/qx-launch"),
        "[Ver]\r\nCEO=EN\r\n[Network]\r\nCOMType=1\r\nTCPPort=" + QByteArray::number(module.port()) + "\r\n");
    QVERIFY(writeFile(folder + QStringLiteral("/Config.ini"), config));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QXSETUP_LAUNCH_TOOL"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.insert(QStringLiteral("HOME"), root.path() + QStringLiteral("/home"));
    env.insert(QStringLiteral("PATH"), bin + QLatin1Char(':') + qEnvironmentVariable("PATH"));
    QProcess launcher;
    launcher.setProcessEnvironment(env);
    launcher.setWorkingDirectory(root.path());
    launcher.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec qxsetup-launch")});
    QVERIFY(launcher.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(module.connectionCount() == 1 || launcher.state() == QProcess::NotRunning,
                             30000);
    const QString procFolder = QStringLiteral("/proc/%1/").arg(launcher.processId());
    const QString exe = QFileInfo(procFolder + QStringLiteral("exe")).symLinkTarget();
    const QString cwd = QFileInfo(procFolder + QStringLiteral("cwd")).symLinkTarget();
    launcher.kill();
    launcher.waitForFinished(10000);
    QVERIFY2(module.connectionCount() == 1, launcher.readAllStandardError().constData());
    QCOMPARE(exe, QFileInfo(qEnvironmentVariable("QXSETUP")).canonicalFilePath());
    QCOMPARE(cwd, QFileInfo(folder).canonicalFilePath());
    QCOMPARE(readFile(folder + QStringLiteral("/Config.ini")), config);
}

void DesktopTest::settingsFolderErrorBox_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QLocale::Language>("language");
    QTest::addColumn<QString>("start"); // of the box text; empty: no box
    const QString tried = QStringLiteral("/home/用户 a/.config/qxsetup\n/tmp/qxsetup-1000\n");
    QTest::newRow("English desktop") << QStringList{"qxsetup", kSettingsFolderErrorOption, tried}
                                     << QLocale::English << "No settings folder could be created";
    QTest::newRow("Chinese desktop") << QStringList{"qxsetup", kSettingsFolderErrorOption, tried}
                                     << QLocale::Chinese << "无法创建设置文件夹";
    QTest::newRow("an ordinary start") << QStringList{"qxsetup"} << QLocale::English << "";
}

void DesktopTest::settingsFolderErrorBox()
{
    QFETCH(QStringList, arguments);
    QFETCH(QLocale::Language, language);
    QFETCH(QString, start);
    const QLocale previous;
    QLocale::setDefault(QLocale(language));
    BoxRecorder boxes;
    const bool shown = showSettingsFolderError(arguments);
    QLocale::setDefault(previous);
    QCOMPARE(shown, !start.isEmpty());
    if (start.isEmpty()) {
        QVERIFY(boxes.boxes.isEmpty());
        return;
    }
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].kind, BoxKind::Error);
    QVERIFY2(boxes.boxes[0].text.startsWith(start), qPrintable(boxes.boxes[0].text));
    QVERIFY(boxes.boxes[0].text.contains(
        QStringLiteral("\n  /home/用户 a/.config/qxsetup\n  /tmp/qxsetup-1000")));
}

QString DesktopTest::installRoot()
{
    // The build folder is the one that holds the qxsetup the tests run.
    const QString build = QFileInfo(qEnvironmentVariable("QXSETUP")).absolutePath();
    const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
    if (cmake.isEmpty())
        return QString();
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(cmake,
                  {QStringLiteral("--install"), build, QStringLiteral("--prefix"), installDir_.path()});
    if (!install.waitForFinished(60000) || install.exitCode() != 0) {
        qWarning("%s", install.readAll().constData());
        return QString();
    }
    return installDir_.path();
}

void DesktopTest::installedFilesFitTogether()
{
    const QString prefix = installRoot();
    QVERIFY(!prefix.isEmpty());
    for (const char *program : {"bin/qxsetup", "bin/qxsetup-launch"})
        QVERIFY2(QFileInfo(prefix + QLatin1Char('/') + QLatin1String(program)).isExecutable(), program);

    // The menu entry starts the launcher that is installed beside the tool, with an icon that exists.
    const QString desktopPath =
        prefix + QStringLiteral("/share/applications/") + kAppId + QStringLiteral(".desktop");
    QSettings entry(desktopPath, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    QCOMPARE(entry.value(QStringLiteral("Exec")).toString(), QStringLiteral("qxsetup-launch"));
    QVERIFY(QFileInfo::exists(prefix + QStringLiteral("/bin/") +
                              entry.value(QStringLiteral("TryExec")).toString()));
    QCOMPARE(entry.value(QStringLiteral("Icon")).toString(), kAppId);
    QVERIFY(QFileInfo::exists(prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/") + kAppId +
                              QStringLiteral(".svg")));
    // Name, generic name and comment in English and Simplified Chinese; the words a user searches for.
    const QString text = QString::fromUtf8(readFile(desktopPath));
    for (const char *key : {"Name", "GenericName", "Comment", "Keywords"}) {
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("^%1=.+$").arg(QLatin1String(key)),
                                                  QRegularExpression::MultilineOption)),
                 key);
        QVERIFY2(
            text.contains(QRegularExpression(QStringLiteral("^%1\\[zh_CN\\]=.+$").arg(QLatin1String(key)),
                                             QRegularExpression::MultilineOption)),
            key);
    }
    for (const char *word : {"serial;", "WiFi;", "module;", "AT;"})
        QVERIFY2(text.contains(QLatin1String(word)), word);

    // The metadata names the same application and the menu entry that launches it.
    const QString metainfo = QString::fromUtf8(
        readFile(prefix + QStringLiteral("/share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml")));
    QVERIFY(metainfo.contains(QStringLiteral("<id>%1</id>").arg(kAppId)));
    QVERIFY(metainfo.contains(
        QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(kAppId)));

    // The user's guide: how to install and run it and the serial permission, not the developer's notes.
    const QString guide =
        QString::fromUtf8(readFile(prefix + QStringLiteral("/share/doc/qxsetup/README.md")));
    QVERIFY(guide.contains(QLatin1String("## Installing the Debian package")));
    QVERIFY(guide.contains(QLatin1String("dialout")));
    QVERIFY(guide.contains(QLatin1String("## Saving the console log")));
    QVERIFY(!guide.contains(QLatin1String("## Layout")));
    QVERIFY(QFileInfo::exists(prefix + QStringLiteral("/share/doc/qxsetup/copyright")));
}

QTEST_MAIN(DesktopTest)
#include "test_desktop.moc"
