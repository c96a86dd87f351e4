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
// The user may type into the console too: a log line never joins what was typed, it starts a line
// of its own.

#include <QByteArray>
#include <QPlainTextEdit>
#include <QStringList>

class ConsoleLog : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int kRowLength = 1024;

    explicit ConsoleLog(QWidget *parent = nullptr);

    void addLine(const QString &text); // line breaks inside text start new lines
    void addDataLine(const QString &prefix, const QByteArray &data);
    void addHexLine(const QByteArray &data); // "HEX:" + every byte as two digits and a blank
    void addEmptyLine() { addLine(QString()); }
    int lineCount() const;
    QStringList lines() const; // the logical lines, continuation rows joined again
    void clearLog();           // the one way to empty the log: it keeps the line count right
    // Writes lines() to path as UTF-8, each line ending in LF; on failure, false and the reason.
    bool saveTo(const QString &path, QString *reason) const;

    static QString renderBytes(const QByteArray &data);

protected:
    // Copying and dragging give the logical lines: continuation rows are joined again.
    QMimeData *createMimeDataFromSelection() const override;

private:
    void appendText(const QString &text);
    bool empty_ = true; // an empty document still has one block; a first empty line must count
    int lines_ = 0;     // logical lines, whatever the number of display rows
};
