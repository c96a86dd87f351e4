#pragma once

// The serial devices whose path matches a glob ("/dev/ttyUSB*", "/dev/serial/by-id/*"), as they come
// and go. A device taken stays taken until its path is gone or names another device: the same path
// comes back with the next module plugged in.

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <sys/types.h>

class DeviceWatcher final : public QObject {
    Q_OBJECT

public:
    // Wildcards only in the last part of the path. False with one line for the user.
    static bool checkGlob(const QString &glob, QString *error);

    explicit DeviceWatcher(const QString &glob, QObject *parent = nullptr);

    // The first matching device, in name order, that is not taken; empty when there is none.
    QString nextFresh();
    void take(const QString &path);

Q_SIGNALS:
    // The folder may have changed: look again.
    void changed();

private:
    // What tells one device at a path from the next at the same path.
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        dev_t node = 0;
        qint64 linkChangedNs = 0; // a symlink's own change time: a new link for a new device
        QString target;
        bool operator==(const Identity &other) const;
    };
    static bool identify(const QString &path, Identity *identity);
    void forgetGone();
    void rearm();

    QString folder_;
    QString pattern_;
    QFileSystemWatcher watcher_;
    QTimer recheck_;
    QHash<QString, Identity> taken_;
};
