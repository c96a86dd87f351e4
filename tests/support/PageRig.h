#pragma once

// A main window on the serial link whose COM1 is a pseudo-terminal, for tests of the page buttons:
// they click real buttons and read back the exact bytes the click put on the wire.

#include "support/Pty.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QStringList>
#include <memory>

class QPushButton;
class QWidget;
class MainWindow;

class PageRig {
public:
    // language is the "CEO" setting: "CN" Chinese, anything else English.
    explicit PageRig(const QByteArray &language);
    ~PageRig();
    PageRig(const PageRig &) = delete;
    PageRig &operator=(const PageRig &) = delete;

    MainWindow &form() const { return *form_; }
    QPushButton *button(const QString &objectName) const;
    QWidget *widget(const QString &objectName) const;

    // What the program wrote to the port: waits for expected bytes and takes whatever else it sent
    // (see sentBeforeSentinel), so a command followed by anything else does not compare equal.
    QByteArray sent(qsizetype expected);
    bool sentNothing();

    // Gives every field of the parameter and operation pages a value (texts "x", lists their
    // first item, the memo one line), and names the ones that are empty now.
    void fillEveryField() const;
    QStringList emptyFields() const;

    Pty pty;
    BoxRecorder boxes;

private:
    WorkDir dir_;
    std::unique_ptr<MainWindow> form_;
};
