// parseReply: the window's side of a received text. The meaning is worked out without the window
// (protocol/ReplyInterpreter); here it reaches the controls.

#include "protocol/ReplyInterpreter.h"
#include "window/ConsoleLog.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace {

QComboBox *ioBox(const MainWindow::IoRow &row, IoChange::Box box)
{
    switch (box) {
    case IoChange::Box::Mode:
        return row.mode;
    case IoChange::Box::Pull:
        return row.pull;
    case IoChange::Box::Level:
        break;
    }
    return row.level;
}

} // namespace

void MainWindow::parseReply(const QByteArray &text, ReplyRoad road)
{
    const ReplyContext context{session_.cmdType, session_.lastIoOperation, chinese(), road};
    const ReplyEffects effects = interpretReply(context, text);
    // Announced before the effects are applied: a box among them waits for the user, and a command
    // run waiting for this reply must not count that time against its time-out.
    Q_EMIT replyArrived(text);
    applyReplyEffects(effects);
}

void MainWindow::applyReplyEffects(const ReplyEffects &effects)
{
    for (const FieldChange &change : effects.fields) {
        switch (change.kind) {
        case FieldChange::Kind::Text:
            setFieldText(change.field, change.text);
            break;
        case FieldChange::Kind::ItemIndex:
            selectIndex(comboBox(change.field), change.index);
            break;
        case FieldChange::Kind::ItemText:
            selectItemByText(comboBox(change.field), change.text);
            break;
        case FieldChange::Kind::ItemTextOrNone:
            selectIndex(comboBox(change.field), indexOfItem(comboBox(change.field), change.text));
            break;
        case FieldChange::Kind::NoSelection:
            selectIndex(comboBox(change.field), -1);
            break;
        case FieldChange::Kind::AppendLine:
            if (QPlainTextEdit *edit = memo(change.field))
                edit->appendPlainText(change.text);
            break;
        }
    }
    for (const IoChange &change : effects.io) {
        if (change.row >= 1 && change.row <= static_cast<int>(ioRows_.size()))
            selectIndex(ioBox(ioRow(change.row), change.box), change.index);
    }
    for (const QString &line : effects.console)
        console_->addLine(line);
    if (effects.status)
        setStatusPanel(2, *effects.status);
    // Last, so that a box, which waits for the user, finds the reply's changes already in view.
    for (const ReplyBox &box : effects.boxes) {
        if (box.kind == ReplyBox::Kind::Warning)
            Boxes::warning(this, box.text);
        else
            Boxes::error(this, box.text);
    }
}
