#include "pages/FieldWidgets.h"
#include "protocol/ParameterCatalogue.h"
#include "protocol/CommandBuilder.h"
#include "shell/MessageBoxes.h"
#include "shell/SharedState.h"
#include "shell/Unit1.h"

namespace {
const QString kAt = QStringLiteral("AT");

void refuse(QWidget *parent, const char *english, const char *chinese)
{
    Boxes::warning(parent, Tr(QString::fromUtf8(english), QString::fromUtf8(chinese)));
}
} // namespace

void TForm1::setParameter(const ParameterRow &row)
{
    RowValues fields;
    for (const Field id : row.fields)
        fields << fieldValue(field(id));

    for (const FieldCheck &check : row.checks) {
        if (!check.rule->passes(fieldValue(field(check.field)))) {
            refuse(this, check.rule->english, check.rule->chinese);
            return; // nothing built: CmdType keeps the code of the last command sent
        }
    }
    const QString value = row.value(fields);
    if (!CheckRules::isSingleLine(value)) {
        refuse(this, CheckRules::lineBreakEnglish, CheckRules::lineBreakChinese);
        return;
    }
    const RowValues quoted = row.quote ? fields : ValueRules::quotedFields(row.value, fields);
    if (!CheckRules::isQuoteFree(quoted)) {
        refuse(this, CheckRules::quoteEnglish, CheckRules::quoteChinese);
        return;
    }

    const BuiltCommand command = BuildCommand(row.setCode, kAt, row.atName, value, row.quote);
    SendSetCommand(command.bytes, command.typeCode, row.setCaption.cn, row.setCaption.en);
}

void TForm1::readParameter(const ParameterRow &row)
{
    // Empty what the reply will fill, so a reply that never comes leaves nothing stale behind.
    for (const Field id : row.fields)
        clearField(field(id));
    const BuiltCommand command = BuildCommand(row.readCode(), kAt, row.atName, QStringLiteral("?"), false);
    SendReadCommand(command.bytes, command.typeCode, row.readCaption.cn, row.readCaption.en);
}
