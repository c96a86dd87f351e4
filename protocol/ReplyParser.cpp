#include "shell/Unit1.h"

void TForm1::ParseReply(const QByteArray &text)
{
    Q_UNUSED(text);
}
