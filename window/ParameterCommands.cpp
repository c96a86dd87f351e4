#include "protocol/ParameterCatalogue.h"
#include "protocol/SetValue.h"
#include "window/FieldWidgets.h"
#include "window/MainWindow.h"
#include "window/MessageBoxes.h"

void MainWindow::setParameter(const ParameterRow &row)
{
    RowValues fields;
    for (const Field id : row.fields)
        fields << fieldValue(field(id));
    const SetValue value = ComposeSetValue(row, fields);
    if (!value.isSendable()) {
        // Nothing built: the session keeps the code of the last command sent.
        Boxes::warning(this, value.refusal(chinese()));
        return;
    }
    const BuiltCommand command = SetCommand(row, value.text);
    sendSetCommand(command.bytes, command.typeCode, row.setCaption.cn, row.setCaption.en);
}

bool MainWindow::readParameter(const ParameterRow &row)
{
    // Empty what the reply will fill, so a reply that never comes leaves nothing stale behind.
    for (const Field id : row.fields)
        clearField(field(id));
    const BuiltCommand command = ReadCommand(row);
    return sendReadCommand(command.bytes, command.typeCode, row.readCaption.cn, row.readCaption.en);
}
