#pragma once

// Shared test fixtures: a recorder that answers the modal box seam, and a temporary working
// directory that holds the Config.ini the main window reads at start-up.

#include "window/MessageBoxes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class MainWindow;

class BoxRecorder {
public:
    explicit BoxRecorder(bool answerYes = true);
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder &) = delete;
    BoxRecorder &operator=(const BoxRecorder &) = delete;

    void setAnswer(bool yes) { answerYes_ = yes; }
    QStringList texts() const;
    QList<BoxRequest> boxes;
    void clear() { boxes.clear(); }

private:
    bool answerYes_;
};

// Creates a temporary directory, writes config into Config.ini there and makes it the working
// directory for the fixture's lifetime. Ports default to devices that do not exist, so no test
// ever opens real hardware; the network addresses default to loopback.
class WorkDir {
public:
    explicit WorkDir(const QByteArray &config = QByteArray());
    ~WorkDir();
    WorkDir(const WorkDir &) = delete;
    WorkDir &operator=(const WorkDir &) = delete;
    QString path() const { return dir_.path(); }
    QString configPath() const;

    // A Config.ini for tests: serial link on COM1 mapped to the given device, loopback addresses.
    static QByteArray testConfig(const QString &com1Device, const QByteArray &extra = QByteArray());

private:
    QTemporaryDir dir_;
    QString previous_;
};

// The main window of the Config.ini in the working directory. Its UDP endpoint binds a free port
// unless the test names one, so that suites running side by side never fight over the discovery port.
std::unique_ptr<MainWindow> makeMainWindow(int udpLocalPort = 0);

class Pty;
// What the window sent on its serial port up to now, proved complete by a positive event: a sentinel
// written after it through the program's open port (COM1 unless named) must arrive, and anything sent earlier
// comes before it. Events already queued run first, so a send they make counts too. When the sentinel
// never arrives the result says so, and compares unequal to anything a test expects.
QByteArray sentBeforeSentinel(MainWindow &form, Pty &pty, int comPort = 1);

// The control of the window (or dialog) with that objectName; the pages of the window not built yet
// are built when the name is not found otherwise, as any need of their controls would build them. A
// name that is not there ends the test run.
QObject *findControl(QObject &root, const QString &objectName);
template <typename T = QWidget> T *control(QObject &root, const QString &objectName)
{
    auto *found = qobject_cast<T *>(findControl(root, objectName));
    if (found == nullptr)
        qFatal("no control \"%s\" of type %s", qPrintable(objectName), T::staticMetaObject.className());
    return found;
}

class QComboBox;
class QLabel;
class QPushButton;
// One pin row of the IO page (row = 1..8).
struct IoRowControls {
    QLabel *label;
    QLabel *pin;
    QComboBox *mode;
    QComboBox *pull;
    QComboBox *level;
    QPushButton *setButton;
    QPushButton *readButton;
};
IoRowControls ioRow(QObject &window, int row);
