#include "protocol/IoCommand.h"

QByteArray BuildIoCommand(const IoChoice &choice, int row, char operation)
{
    // The body is five characters; without a mode letter it would be four and the module would
    // misread every field after it, so a row with no mode is refused for reads as well as writes.
    const QByteArray modeLetter = choice.modeText.left(1).toLatin1();
    if (modeLetter.isEmpty())
        return {};
    QByteArray body = modeLetter;
    body += choice.pullIndex == 0 ? 'U' : 'F';
    body += operation;
    body += QByteArray::number(row);
    if (operation == 'W') {
        if (choice.pullIndex < 0 || choice.levelIndex < 0)
            return {};
        body += QByteArray::number(choice.levelIndex);
    } else {
        body += 'N';
    }
    return QByteArrayLiteral("AT+IOCTR=") + body + body;
}
