#include "window/ParameterActions.h"

#include "protocol/CommandBuilder.h"
#include "protocol/ParameterCatalogue.h"
#include "protocol/SetValue.h"
#include "window/CommandDispatch.h"
#include "window/FieldWidgets.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"
#include "window/SystemOperations.h"

ParameterActions::ParameterActions(MainWindow *window) : QObject(window), window_(window) {}

void ParameterActions::setParameter(const ParameterRow &row)
{
    RowValues fields;
    for (const Field id : row.fields)
        fields << fieldValue(window_->field(id));
    const SetValue value = ComposeSetValue(row, fields);
    if (!value.isSendable()) {
        // Nothing built: the session keeps the code of the last command sent.
        Boxes::warning(window_, value.refusal());
        return;
    }
    const BuiltCommand command = SetCommand(row, value.text);
    window_->dispatch().sendSetCommand(command.bytes, command.typeCode,
                                       ShownText::translated(kSetCaptionContext, row.setCaption));
}

bool ParameterActions::readParameter(const ParameterRow &row)
{
    // Empty what the reply will fill, so a reply that never comes leaves nothing stale behind.
    for (const Field id : row.fields)
        clearField(window_->field(id));
    const BuiltCommand command = ReadCommand(row);
    return window_->dispatch().sendReadCommand(command.bytes, command.typeCode,
                                               ShownText::translated(kReadCaptionContext, row.readCaption));
}

void ParameterActions::runSystemOperation(const SystemOperation &operation)
{
    const ShownText &question = operation.question;
    if (!question.isEmpty() && !Boxes::askYesNo(window_, question.in(!window_->chinese())))
        return;
    if (operation.cleared)
        clearField(window_->field(*operation.cleared));
    const BuiltCommand command =
        BuildCommand(operation.code, QStringLiteral("AT"), operation.atName, QString(), false);
    // Queries too go out as set commands: the status bar says "Setting ..." for every operation.
    window_->dispatch().sendSetCommand(command.bytes, command.typeCode, operation.status);
}
