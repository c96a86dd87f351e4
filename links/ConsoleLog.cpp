#include "links/ConsoleLog.h"

#include "links/commfunction.h"

#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>

ConsoleLog::ConsoleLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false); // the log can grow large; undo history would double it
}

void ConsoleLog::appendText(const QString &text)
{
    // appendPlainText() would put a line after an empty first line into that same block.
    QScrollBar *bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!(empty_ && document()->isEmpty()))
        cursor.insertBlock();
    cursor.insertText(text);
    empty_ = false;
    if (atBottom)
        bar->setValue(bar->maximum());
}

void ConsoleLog::addLine(const QString &text)
{
    appendText(text);
}

void ConsoleLog::addDataLine(const QString &prefix, const QByteArray &data)
{
    appendText(prefix + renderBytes(data));
}

void ConsoleLog::addHexLine(const QByteArray &data)
{
    appendText(QLatin1String("HEX:") + QString::fromLatin1(TCommFun::BytesToHex(data, true)));
}

void ConsoleLog::clearLog()
{
    clear();
    empty_ = true;
}

int ConsoleLog::lineCount() const
{
    if (empty_ && document()->isEmpty())
        return 0;
    return document()->blockCount();
}

QString ConsoleLog::renderBytes(const QByteArray &data)
{
    QStringDecoder gbk("GBK");
    const QString decoded = gbk(data);
    QString out;
    out.reserve(decoded.size());
    const qsizetype n = decoded.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = decoded.at(i).unicode();
        if (c == u'\r') {
            out += QChar(u'\n');
            if (i + 1 < n && decoded.at(i + 1) == QChar(u'\n'))
                ++i; // CR LF is one line break
        } else if (c == u'\n') {
            out += QChar(u'\n');
        } else if (c < 0x20) {
            out += QChar(char16_t(0x2400 + c)); // control pictures: NUL shows as ␀
        } else if (c == 0x7f) {
            out += QChar(char16_t(0x2421));
        } else if (c >= 0xe000 && c <= 0xf8ff) {
            out += QChar(QChar::ReplacementCharacter); // the GBK decoder maps stray bytes such as FF here
        } else {
            out += decoded.at(i);
        }
    }
    return out;
}
