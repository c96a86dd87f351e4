#include "links/ConsoleLog.h"

#include "links/commfunction.h"
#include "protocol/ConsoleText.h"

#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <algorithm>

namespace {
constexpr int kContinuation = 1; // block user state of a display row that continues the line above

// QTextCursor::insertText turns CR LF, CR, U+2029 and the frame marks into block breaks too; bring
// them to LF so that the line count below sees the same breaks as the document.
QString withLfBreaks(const QString &text)
{
    const char16_t others[] = {u'\r', 0x2028, 0x2029, 0xfdd0, 0xfdd1};
    bool found = false;
    for (const char16_t c : others)
        found = found || text.contains(QChar(c)); // vectorised search; the usual text has none
    if (!found)
        return text;
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const char16_t c : others)
        out.replace(QChar(c), QLatin1Char('\n'));
    return out;
}
} // namespace

ConsoleLog::ConsoleLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false); // the log can grow large; undo history would double it
}

void ConsoleLog::appendText(const QString &text)
{
    QScrollBar *bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // One edit block: the document is laid out once for the whole text, not once per row.
    cursor.beginEditBlock();
    // appendPlainText() would put a line after an empty first line into that same block; text the
    // user typed into an empty log keeps its own block too.
    bool newBlock = !empty_ || !document()->isEmpty();
    QString rows; // short lines gathered into one block, separated by line separators
    bool rowsStarted = false;
    const auto flush = [&](int state) {
        if (newBlock) {
            cursor.insertBlock();
            cursor.block().setUserState(state);
        }
        cursor.insertText(rows);
        rows.clear();
        rowsStarted = false;
        newBlock = true;
    };

    const QString lf = withLfBreaks(text);
    const qsizetype n = lf.size();
    qsizetype lineStart = 0;
    for (;;) {
        qsizetype lineEnd = lf.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = n;
        const qsizetype length = lineEnd - lineStart;
        if (length <= kRowLength) {
            if (rowsStarted && rows.size() + 1 + length > kRowLength)
                flush(-1);
            if (rowsStarted)
                rows += QChar::LineSeparator;
            rows += QStringView(lf).mid(lineStart, length);
            rowsStarted = true;
        } else {
            if (rowsStarted)
                flush(-1);
            qsizetype rowStart = lineStart;
            do {
                qsizetype rowEnd = std::min(rowStart + kRowLength, lineEnd);
                if (rowEnd < lineEnd && lf.at(rowEnd - 1).isHighSurrogate())
                    --rowEnd; // keep a surrogate pair on one row
                rows = lf.mid(rowStart, rowEnd - rowStart);
                flush(rowStart > lineStart ? kContinuation : -1);
                rowStart = rowEnd;
            } while (rowStart < lineEnd);
        }
        ++lines_;
        if (lineEnd == n)
            break;
        lineStart = lineEnd + 1;
    }
    if (rowsStarted)
        flush(-1);
    cursor.endEditBlock();
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
    lines_ = 0;
}

int ConsoleLog::lineCount() const
{
    return lines_;
}

QStringList ConsoleLog::lines() const
{
    QStringList out;
    if (empty_ && document()->isEmpty())
        return out;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QStringList rows = block.text().split(QChar::LineSeparator);
        auto row = rows.begin();
        if (block.userState() == kContinuation && !out.isEmpty())
            out.last() += *row++;
        for (; row != rows.end(); ++row)
            out << *row;
    }
    return out;
}

bool ConsoleLog::saveTo(const QString &path, QString *reason) const
{
    QStringList all = lines();
    all << QString(); // every line ends in LF, the last one too
    const QByteArray bytes = all.join(QLatin1Char('\n')).toUtf8();
    QFile file(path);
    // A buffered write to a full disk reports its failure only at flush, so check every step.
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(bytes) == bytes.size() && file.flush();
    if (written)
        file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}

QMimeData *ConsoleLog::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return QPlainTextEdit::createMimeDataFromSelection();
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QString text;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() <= end;
         block = block.next()) {
        if (block.position() > start && block.userState() != kContinuation)
            text += QLatin1Char('\n');
        const int from = std::max(start - block.position(), 0);
        const int to = std::min(end - block.position(), block.length() - 1);
        text += QStringView(block.text()).mid(from, to - from);
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

QString ConsoleLog::renderBytes(const QByteArray &data)
{
    return RenderBytes(data);
}
