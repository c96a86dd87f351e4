#pragma once

// The console log on the right of the main window. Every link writes what it sends and receives here.
// Data is shown faithfully: line breaks in the data start new lines, other control bytes show as
// their control-picture glyphs, bytes that are not valid GBK show as the replacement glyph.
//
// Replies can be a mebibyte on one line (and its HEX line three times that), or thousands of short
// lines. Laying out such a paragraph would stall the window for seconds, and a text block per short
// line costs more than the text itself, so the document holds blocks of at most kRowLength
// characters: short lines share a block, separated by line separators (which display and copy as
// line breaks), and a long line is cut into rows of its own, the rows after the first marked as
// continuations. lineCount() and lines() count and return logical lines, as the size rules need.
//
// A reply that is still coming is an open line: it grows where it stands while later lines go below
// it. The log keeps a bounded history: past its limit the oldest rows go, and one line at the top
// says so. Whatever the log writes is also announced (linesAdded, lineOpened, ...), so that a file
// can keep all of it.
//
// The user may type into the console too: a log line never joins what was typed, it starts a line
// of its own.

#include <QByteArray>
#include <QMap>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>

class ConsoleLog : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int kRowLength = 1024;
    static constexpr qsizetype kDefaultLimitChars = 10 * 1024 * 1024;

    explicit ConsoleLog(QWidget *parent = nullptr);

    void addLine(const QString &text); // line breaks inside text start new lines
    void addDataLine(const QString &prefix, const QByteArray &data);
    void addHexLine(const QByteArray &data); // "HEX:" + every byte as two digits and a blank
    void addEmptyLine() { addLine(QString()); }

    // An open line: prefix + text now, more text appended by growLine until closeLine. A line the
    // history bound or a clear removed while open starts again at the end, with its prefix.
    int openLine(const QString &prefix, const QString &text);
    void growLine(int id, const QString &text);
    void closeLine(int id);

    int lineCount() const;
    QStringList lines() const; // the logical lines, continuation rows joined again
    void clearLog();           // the one way to empty the log: it keeps the line count right
    // Writes lines() to path as UTF-8, each line ending in LF; on failure, false and the reason.
    bool saveTo(const QString &path, QString *reason) const;

    // Characters the log keeps; older rows go when it holds more.
    void setLimitChars(qsizetype chars) { limitChars_ = chars; }
    qsizetype limitChars() const { return limitChars_; }
    // The line at the top that says older rows went, in the window's language.
    void setTrimNotice(const QString &text) { trimNotice_ = text; }

    static QString renderBytes(const QByteArray &data);

Q_SIGNALS:
    // What the log writes, line breaks as LF: whole lines, and the open lines as they grow.
    void linesAdded(const QString &text);
    void lineOpened(int id, const QString &text);
    void lineGrew(int id, const QString &text);
    void lineClosed(int id);

protected:
    // Copying and dragging give the logical lines: continuation rows are joined again.
    QMimeData *createMimeDataFromSelection() const override;

private:
    struct OpenLine {
        QString prefix;
        QTextCursor end; // keeps its place when text is inserted right at it: a later line's start
        bool placed = true;
    };

    // Starts a line at the end and leaves cursor at its end, with text in it.
    void startLine(QTextCursor &cursor, const QString &text);
    // Appends text to the line that ends at cursor; its breaks start new lines.
    void insertContinuing(QTextCursor &cursor, const QString &text);
    template <typename Edit> void keepBottom(Edit edit);
    void trimHistory();

    QMap<int, OpenLine> open_;
    int nextId_ = 1;
    qsizetype limitChars_ = kDefaultLimitChars;
    QString trimNotice_;
    bool empty_ = true; // an empty document still has one block; a first empty line must count
    int lines_ = 0;     // logical lines, whatever the number of display rows
};
