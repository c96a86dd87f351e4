#include "window/ReplyLines.h"

#include "protocol/Conversions.h"
#include "window/ConsoleLog.h"

ReplyLines::ReplyLines(ConsoleLog *console, const QString &prefix, QObject *parent)
    : QObject(parent), console_(console), prefix_(prefix)
{
}

void ReplyLines::grow(const QByteArray &bytes, bool first, bool showHex)
{
    if (first || textLine_ == 0) {
        end();
        textLine_ = console_->openLine(prefix_, text_.feed(bytes));
        if (showHex)
            hexLine_ = console_->openLine(QStringLiteral("HEX:"),
                                          QString::fromLatin1(Conversions::BytesToHex(bytes, true)));
        return;
    }
    console_->growLine(textLine_, text_.feed(bytes));
    if (hexLine_ != 0)
        console_->growLine(hexLine_, QString::fromLatin1(Conversions::BytesToHex(bytes, true)));
}

void ReplyLines::end()
{
    if (textLine_ == 0)
        return;
    console_->growLine(textLine_, text_.finish());
    console_->closeLine(textLine_);
    if (hexLine_ != 0)
        console_->closeLine(hexLine_);
    textLine_ = 0;
    hexLine_ = 0;
}
