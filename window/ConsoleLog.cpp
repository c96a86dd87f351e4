#include "window/ConsoleLog.h"

#include "protocol/ConsoleText.h"
#include "protocol/Conversions.h"

#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace {
constexpr int kContinuation = 1; // block user state of a display row that continues the line above
constexpr int kNotice = 2;       // the row that says older rows went

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

// Logical lines that start in a display row.
int linesStartingIn(const QTextBlock &block)
{
    return (block.userState() == kContinuation ? 0 : 1) +
           static_cast<int>(block.text().count(QChar::LineSeparator));
}
} // namespace

ConsoleLog::ConsoleLog(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setUndoRedoEnabled(false); // the log can grow large; undo history would double it
}

template <typename Edit> void ConsoleLog::keepBottom(Edit edit)
{
    QScrollBar *bar = verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    QTextCursor cursor(document());
    // One edit block: the document is laid out once for the whole text, not once per row.
    cursor.beginEditBlock();
    edit(cursor);
    cursor.endEditBlock();
    if (atBottom)
        bar->setValue(bar->maximum());
}

void ConsoleLog::startLine(QTextCursor &cursor, const QString &text)
{
    cursor.movePosition(QTextCursor::End);
    // appendPlainText() would put a line after an empty first line into that same block; text the
    // user typed into an empty log keeps its own block too.
    if (!empty_ || !document()->isEmpty()) {
        cursor.insertBlock();
        cursor.block().setUserState(-1);
    }
    empty_ = false;
    ++lines_;
    insertContinuing(cursor, text);
}

void ConsoleLog::insertContinuing(QTextCursor &cursor, const QString &text)
{
    qsizetype rowLength = cursor.block().length() - 1;
    QString row; // text for the cursor's row, inserted in one go
    const auto newRow = [&](int state) {
        if (!row.isEmpty())
            cursor.insertText(row);
        row.clear();
        cursor.insertBlock();
        cursor.block().setUserState(state);
        rowLength = 0;
    };
    const qsizetype n = text.size();
    qsizetype lineStart = 0;
    for (bool continuing = true;; continuing = false) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0)
            lineEnd = n;
        QStringView rest = QStringView(text).mid(lineStart, lineEnd - lineStart);
        if (!continuing) {
            ++lines_;
            // A short line shares the row it fits in; a longer one starts rows of its own.
            if (rowLength + 1 + rest.size() <= kRowLength) {
                row += QChar::LineSeparator;
                row += rest;
                rowLength += 1 + rest.size();
                rest = {};
            } else {
                newRow(-1);
            }
        }
        while (!rest.isEmpty()) {
            qsizetype take = std::min<qsizetype>(kRowLength - rowLength, rest.size());
            if (take < rest.size() && take > 0 && rest.at(take - 1).isHighSurrogate())
                --take; // keep a surrogate pair on one row
            if (take <= 0) {
                newRow(kContinuation);
                continue;
            }
            row += rest.left(take);
            rowLength += take;
            rest = rest.mid(take);
        }
        if (lineEnd == n)
            break;
        lineStart = lineEnd + 1;
    }
    if (!row.isEmpty())
        cursor.insertText(row);
}

void ConsoleLog::addLine(const QString &text)
{
    const QString lf = withLfBreaks(text);
    keepBottom([&](QTextCursor &cursor) { startLine(cursor, lf); });
    trimHistory();
    Q_EMIT linesAdded(lf);
}

void ConsoleLog::addDataLine(const QString &prefix, const QByteArray &data)
{
    addLine(prefix + renderBytes(data));
}

void ConsoleLog::addHexLine(const QByteArray &data)
{
    addLine(QLatin1String("HEX:") + QString::fromLatin1(Conversions::BytesToHex(data, true)));
}

int ConsoleLog::openLine(const QString &prefix, const QString &text)
{
    const int id = nextId_++;
    const QString lf = withLfBreaks(prefix + text);
    OpenLine line{prefix, QTextCursor(), true};
    keepBottom([&](QTextCursor &cursor) {
        startLine(cursor, lf);
        line.end = cursor;
    });
    line.end.setKeepPositionOnInsert(true);
    open_.insert(id, line);
    trimHistory();
    Q_EMIT lineOpened(id, lf);
    return id;
}

void ConsoleLog::growLine(int id, const QString &text)
{
    const auto found = open_.find(id);
    if (found == open_.end() || text.isEmpty())
        return;
    OpenLine &line = *found;
    const QString lf = withLfBreaks(text);
    keepBottom([&](QTextCursor &cursor) {
        if (line.placed) {
            cursor.setPosition(line.end.position());
            insertContinuing(cursor, lf);
        } else {
            startLine(cursor, withLfBreaks(line.prefix) + lf);
        }
        line.end = cursor;
        line.end.setKeepPositionOnInsert(true);
        line.placed = true;
    });
    trimHistory();
    Q_EMIT lineGrew(id, lf);
}

void ConsoleLog::closeLine(int id)
{
    if (open_.remove(id) > 0)
        Q_EMIT lineClosed(id);
}

void ConsoleLog::trimHistory()
{
    QTextDocument *doc = document();
    if (doc->characterCount() <= limitChars_)
        return;
    // Down to three quarters of the limit, so that a steady stream trims now and then, not every time.
    const qsizetype excess = doc->characterCount() - limitChars_ / 4 * 3;
    QTextBlock keep = doc->begin();
    int removedLines = 0;
    while (keep.next().isValid() && keep.position() < excess) {
        removedLines += linesStartingIn(keep);
        keep = keep.next();
    }
    if (keep == doc->begin())
        return; // one row the user typed holds it all
    const int cut = keep.position();
    const bool headCut = keep.userState() == kContinuation;
    for (OpenLine &line : open_) {
        if (line.placed && line.end.position() <= cut) {
            line.placed = false;
            line.end = QTextCursor();
        }
    }
    keepBottom([&](QTextCursor &cursor) {
        cursor.setPosition(cut, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.insertText(trimNotice_);
        cursor.insertBlock();
        doc->begin().setUserState(kNotice);
        doc->begin().next().setUserState(-1); // the rest of a line whose head went reads as a line
    });
    lines_ += 1 - removedLines + (headCut ? 1 : 0);
}

void ConsoleLog::clearLog()
{
    clear();
    empty_ = true;
    lines_ = 0;
    for (OpenLine &line : open_) {
        line.placed = false;
        line.end = QTextCursor();
    }
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
