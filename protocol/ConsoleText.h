#pragma once

// How received bytes read in the console log. Data is shown faithfully: the bytes are GBK; CR, LF and
// CR LF are line breaks; other control bytes show as their control-picture glyphs (00 as U+2400), and
// bytes that are not valid GBK, a lead byte cut off at the end included, as the replacement glyph.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <optional>

QString RenderBytes(const QByteArray &data);

// Renders a reply piece by piece while it arrives, exactly as RenderBytes renders it whole: a GBK
// character or a CR LF torn between two pieces reads as if the pieces had come together.
class ConsoleTextStream {
public:
    QString feed(QByteArrayView piece);
    QString finish(); // a lead byte still held shows as the replacement glyph; ready for a new reply

private:
    QString render(const QString &decoded);
    QStringDecoder &gbk();

    // Opened with the first piece: opening it loads ICU's tables, a cost no window should pay at start.
    std::optional<QStringDecoder> gbk_;
    bool afterCr_ = false; // the last character was CR: an LF first in the next piece joins it
};
