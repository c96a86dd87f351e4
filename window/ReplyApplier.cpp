#include "window/ReplyApplier.h"

#include "protocol/ReplyInterpreter.h"
#include "window/ConsoleLog.h"
#include "window/IoPage.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/TypingLimit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

ReplyApplier::ReplyApplier(MainWindow *window) : QObject(window), window_(window) {}

void ReplyApplier::parse(const QByteArray &text, ReplyRoad road)
{
    const LinkSession &session = window_->session();
    const ReplyContext context{session.cmdType, session.lastIoOperation, window_->chinese(), road};
    const ReplyEffects effects = interpretReply(context, text);
    Q_EMIT replyArrived(text);
    apply(effects);
}

void ReplyApplier::apply(const ReplyEffects &effects)
{
    MainWindow &w = *window_;
    for (const FieldChange &change : effects.fields) {
        switch (change.kind) {
        case FieldChange::Kind::Text:
            // Whole even beyond the typing limit (device ID, zone): the set check refuses what does
            // not fit rather than a cut value going back to the module.
            if (QLineEdit *edit = w.lineEdit(change.field))
                ShowWhole(edit, change.text);
            break;
        case FieldChange::Kind::ItemIndex:
            selectIndex(w.comboBox(change.field), change.index);
            break;
        case FieldChange::Kind::ItemText:
            selectItemByText(w.comboBox(change.field), change.text);
            break;
        case FieldChange::Kind::ItemTextOrNone:
            selectIndex(w.comboBox(change.field), indexOfItem(w.comboBox(change.field), change.text));
            break;
        case FieldChange::Kind::NoSelection:
            selectIndex(w.comboBox(change.field), -1);
            break;
        case FieldChange::Kind::AppendLine:
            if (QPlainTextEdit *edit = w.memo(change.field))
                edit->appendPlainText(change.text);
            break;
        }
    }
    for (const IoChange &change : effects.io)
        w.ioPage().selectInRow(change.row, change.box, change.index);
    for (const QString &line : effects.console)
        w.console()->addLine(line);
    if (effects.status)
        w.setStatusPanel(2, *effects.status);
    // Last, so that a box, which waits for the user, finds the reply's changes already in view.
    for (const ReplyBox &box : effects.boxes) {
        if (box.kind == ReplyBox::Kind::Warning)
            Boxes::warning(window_, box.text);
        else
            Boxes::error(window_, box.text);
    }
}

int ReplyApplier::indexOfItem(const QComboBox *box, const QString &text)
{
    if (!box)
        return 0;
    const int found = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found < 0 ? box->count() : found;
}

void ReplyApplier::selectItemByText(QComboBox *box, const QString &text)
{
    if (!box)
        return;
    const int found = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        box->setCurrentIndex(found);
}

void ReplyApplier::selectIndex(QComboBox *box, qint64 index)
{
    if (!box)
        return;
    box->setCurrentIndex(index >= 0 && index < box->count() ? static_cast<int>(index) : -1);
}
