#include "window/ProfileActions.h"

#include "protocol/SetValue.h"
#include "window/ApplyProfileDialog.h"
#include "window/ConsoleLog.h"
#include "window/FieldWidgets.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/ReadAllControl.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
QString fileFilter()
{
    return QCoreApplication::translate("ProfileActions", "Profiles (*.txt);;All files (*)");
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

ProfileActions::ProfileActions(MainWindow *window, CommandChannel *channel, ReadAllControl *readAll,
                               QMenu *menu, QAction *before)
    : QObject(window), window_(window), channel_(channel), readAll_(readAll)
{
    saveAction_ = new QAction(menu);
    saveAction_->setObjectName(QStringLiteral("saveProfileAction"));
    applyAction_ = new QAction(menu);
    applyAction_->setObjectName(QStringLiteral("applyProfileAction"));
    compareAction_ = new QAction(menu);
    compareAction_->setObjectName(QStringLiteral("compareProfileAction"));
    CaptionBook &captions = window->captions();
    captions.addAction(saveAction_, captionText("ProfileActions", "Save profile…"));
    captions.addAction(applyAction_, captionText("ProfileActions", "Apply profile…"));
    captions.addAction(compareAction_, captionText("ProfileActions", "Compare with profile…"));
    menu->insertActions(before, {saveAction_, applyAction_, compareAction_});
    menu->insertSeparator(before);

    connect(saveAction_, &QAction::triggered, this, &ProfileActions::saveProfile);
    connect(applyAction_, &QAction::triggered, this, &ProfileActions::applyProfile);
    connect(compareAction_, &QAction::triggered, this, &ProfileActions::compareProfile);
    // Apply and compare send commands; saving only reads the fields, which a read-all is filling.
    connect(readAll, &ReadAllControl::runningChanged, this, [this](bool running) {
        for (QAction *action : {saveAction_, applyAction_, compareAction_})
            action->setEnabled(!running);
    });
}

QString ProfileActions::startFolder() const
{
    if (!lastFolder_.isEmpty() && QDir(lastFolder_).exists())
        return lastFolder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void ProfileActions::saveProfile()
{
    ModuleValues values;
    QStringList comments;
    for (const ParameterRow &row : ParameterCatalogue()) {
        RowValues fields;
        for (const Field id : row.fields)
            fields << fieldValue(window_->field(id));
        const SetValue value = ComposeSetValue(row, fields);
        if (value.isSendable())
            values.insert(row.atName, value.text);
        else
            comments << row.atName + QStringLiteral(": ") + value.refusal();
    }

    const QString name = QStringLiteral("qxsetup-profile-%1.txt")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path =
        Boxes::askSaveFileName(window_, tr("Save profile"), QDir(startFolder()).filePath(name), fileFilter());
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(FormatProfile(values, comments)) < 0 ||
        !file.commit()) {
        Boxes::error(window_,
                     tr("Could not save the profile to %1: %2").arg(shownPath(path), file.errorString()));
        return;
    }
    lastFolder_ = QFileInfo(path).absolutePath();
    window_->console()->addLine(tr("Profile saved to %1: %2 parameters, %3 left out.")
                                    .arg(shownPath(path))
                                    .arg(values.size())
                                    .arg(comments.size()));
}

std::optional<ProfileActions::OpenedProfile> ProfileActions::openProfile(const QString &title)
{
    const QString path = Boxes::askOpenFileName(window_, title, startFolder(), fileFilter());
    if (path.isEmpty())
        return std::nullopt;
    lastFolder_ = QFileInfo(path).absolutePath();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Boxes::error(window_,
                     tr("Could not read the profile %1: %2").arg(shownPath(path), file.errorString()));
        return std::nullopt;
    }
    // One byte past the limit is enough for the parser to refuse the file as too large.
    OpenedProfile opened{path, ParseProfile(file.read(kMaxProfileBytes + 1))};
    if (!opened.profile.isValid()) {
        QStringList lines{tr("The profile %1 cannot be used; nothing was sent:").arg(shownPath(path))};
        for (const ProfileProblem &problem : opened.profile.problems)
            lines << problem.message();
        Boxes::warning(window_, lines.join(QLatin1Char('\n')));
        return std::nullopt;
    }
    if (opened.profile.lines.isEmpty()) {
        Boxes::warning(window_, tr("The profile %1 holds no parameters.").arg(shownPath(path)));
        return std::nullopt;
    }
    return opened;
}

void ProfileActions::applyProfile()
{
    showDialog(true);
}

void ProfileActions::compareProfile()
{
    showDialog(false);
}

void ProfileActions::showDialog(bool applying)
{
    const QString title = applying ? tr("Apply profile") : tr("Compare with profile");
    std::optional<OpenedProfile> opened = openProfile(title);
    if (!opened)
        return;
    auto *dialog =
        new ApplyProfileDialog(applying ? ApplyProfileDialog::Mode::Apply : ApplyProfileDialog::Mode::Compare,
                               opened->profile, opened->path, channel_, readAll_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
    dialog->start();
}
