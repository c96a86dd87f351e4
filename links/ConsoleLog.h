#pragma once

// The console log on the right of the main window. Every link writes what it sends and receives here.
// Data is shown faithfully: line breaks in the data start new lines, other control bytes show as
// their control-picture glyphs, bytes that are not valid GBK show as the replacement glyph.

#include <QByteArray>
#include <QPlainTextEdit>

class ConsoleLog : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ConsoleLog(QWidget *parent = nullptr);

    void addLine(const QString &text);
    void addDataLine(const QString &prefix, const QByteArray &data);
    void addHexLine(const QByteArray &data); // "HEX:" + every byte as two digits and a blank
    void addEmptyLine() { addLine(QString()); }
    int lineCount() const;
    void clearLog();

    static QString renderBytes(const QByteArray &data);

private:
    void appendText(const QString &text);
    bool empty_ = true; // an empty document still has one block; a first empty line must count
};
