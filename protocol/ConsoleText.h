#pragma once

// How received bytes read in the console log. Data is shown faithfully: the bytes are GBK; CR, LF and
// CR LF are line breaks; other control bytes show as their control-picture glyphs (00 as U+2400), and
// bytes that are not valid GBK, a lead byte cut off at the end included, as the replacement glyph.

#include <QByteArray>
#include <QString>

QString RenderBytes(const QByteArray &data);
