#include "support/TestSupport.h"

#include "links/ComPorts.h"
#include "links/PortMap.h"
#include "support/Pty.h"
#include "window/MainWindow.h"
#include "window/SerialPortDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

BoxRecorder::BoxRecorder(bool answerYes) : answerYes_(answerYes)
{
    Boxes::setHandler([this](const BoxRequest &request) {
        boxes.append(request);
        return answerYes_;
    });
}

BoxRecorder::~BoxRecorder()
{
    Boxes::clearHandler();
}

QStringList BoxRecorder::texts() const
{
    QStringList list;
    for (const BoxRequest &box : boxes)
        list << box.text;
    return list;
}

WorkDir::WorkDir(const QByteArray &config) : previous_(QDir::currentPath())
{
    QDir::setCurrent(dir_.path());
    if (!config.isNull()) {
        QFile file(configPath());
        if (file.open(QIODevice::WriteOnly))
            file.write(config);
    }
}

WorkDir::~WorkDir()
{
    QDir::setCurrent(previous_);
}

QString WorkDir::configPath() const
{
    return dir_.filePath(QStringLiteral("Config.ini"));
}

QByteArray WorkDir::testConfig(const QString &com1Device, const QByteArray &extra)
{
    // Sections in order, each with its key lines; extra's keys replace or join the base ones.
    QList<QPair<QByteArray, QList<QPair<QByteArray, QByteArray>>>> sections = {
        {"info", {{"COM", "1"}, {"BaudRate", "9"}}},
        {"Network", {{"ServerIP", "127.0.0.1"}, {"ServerIP2", "127.0.0.1"}, {"COMType", "0"}}},
        {"Ports", {{"COM1", com1Device.toUtf8()}}},
        {"Discovery", {{"Address", "127.0.0.1"}}}}; // a stray click on a search button stays on this machine
    QByteArray section;
    for (QByteArray line : extra.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0 || section.isEmpty())
            continue;
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        auto it =
            std::find_if(sections.begin(), sections.end(), [&](const auto &s) { return s.first == section; });
        if (it == sections.end()) {
            sections.append({section, {}});
            it = sections.end() - 1;
        }
        auto keyIt = std::find_if(it->second.begin(), it->second.end(),
                                  [&](const auto &kv) { return kv.first == key; });
        if (keyIt != it->second.end())
            keyIt->second = value;
        else
            it->second.append({key, value});
    }
    QByteArray ini;
    for (const auto &s : sections) {
        ini += '[' + s.first + "]\r\n";
        for (const auto &kv : s.second)
            ini += kv.first + '=' + kv.second + "\r\n";
    }
    return ini;
}

std::unique_ptr<MainWindow> makeMainWindow(int udpLocalPort)
{
    // Every COM number points at a path that cannot exist unless the test's Config.ini maps it.
    auto form = std::make_unique<MainWindow>(
        nullptr, WindowStart{QString(), udpLocalPort, QStringLiteral("/nonexistent/qxtest-ttyS%1")});
    // What the event loop's first pass does for the serial side: the saved port opens. Then the
    // serial dialog's controls, which a user meets at its first show, are made for the tests to reach.
    QCoreApplication::sendPostedEvents(form->portDialog(), QEvent::MetaCall);
    form->portDialog()->makeControls();
    return form;
}

QByteArray sentBeforeSentinel(MainWindow &form, Pty &pty, int comPort)
{
    static const QByteArray sentinel("\0qx-test-sentinel\0", 19);
    QCoreApplication::processEvents();
    if (form.serialPorts()->write(comPort, sentinel) != ComPorts::Result::Ok)
        return QByteArrayLiteral("[the sentinel could not be written]");
    QByteArray bytes;
    while (!bytes.endsWith(sentinel)) {
        const QByteArray more = pty.read(1, 5000);
        if (more.isEmpty())
            return bytes + "[the sentinel never arrived]";
        bytes += more;
    }
    bytes.chop(sentinel.size());
    return bytes;
}

QObject *findControl(QObject &root, const QString &objectName)
{
    QObject *found = root.findChild<QObject *>(objectName);
    // A page not built yet is built for a name that is not there, or that only a dialog has so far
    // (the serial dialog's "baudBox" and the parameter page's).
    auto *window = qobject_cast<MainWindow *>(&root);
    const auto *widget = qobject_cast<QWidget *>(found);
    const bool onlyInDialog = widget != nullptr && qobject_cast<QDialog *>(widget->window()) != nullptr;
    if (window != nullptr && (found == nullptr || onlyInDialog)) {
        window->buildAllPages();
        found = root.findChild<QObject *>(objectName);
    }
    return found;
}

IoRowControls ioRow(QObject &window, int row)
{
    const auto name = [row](const char *kind, const char *suffix) {
        return QLatin1String(kind) + QString::number(row) + QLatin1String(suffix);
    };
    return {control<QLabel>(window, name("ioName", "Label")),
            control<QLabel>(window, name("ioPin", "Label")),
            control<QComboBox>(window, name("ioMode", "Box")),
            control<QComboBox>(window, name("ioPull", "Box")),
            control<QComboBox>(window, name("ioLevel", "Box")),
            control<QPushButton>(window, name("ioSet", "Button")),
            control<QPushButton>(window, name("ioRead", "Button"))};
}
