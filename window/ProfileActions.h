#pragma once

// The profile items of the File menu: "保存配置文件…" writes what the fields hold now as a profile,
// "应用配置文件…" and "与配置文件比较…" read a profile and show it beside the module's values in
// ApplyProfileDialog. A profile with problems is listed in a box and nothing is sent.

#include "protocol/Profile.h"

#include <QObject>
#include <optional>

class CommandChannel;
class QAction;
class QMenu;
class ReadAllControl;
class MainWindow;

class ProfileActions final : public QObject {
    Q_OBJECT

public:
    // Adds the three items to menu, before the item before.
    ProfileActions(MainWindow *window, CommandChannel *channel, ReadAllControl *readAll, QMenu *menu,
                   QAction *before);

    void saveProfile();
    void applyProfile();
    void compareProfile();

private:
    struct OpenedProfile {
        QString path;
        Profile profile;
    };
    // Asks for a profile file and reads it; nothing when cancelled or when a box has said what is wrong.
    std::optional<OpenedProfile> openProfile(const QString &title);
    void showDialog(bool applying);
    QString startFolder() const;

    MainWindow *window_;
    CommandChannel *channel_;
    ReadAllControl *readAll_;
    QString lastFolder_;
    QAction *saveAction_ = nullptr;
    QAction *applyAction_ = nullptr;
    QAction *compareAction_ = nullptr;
};
