#include "protocol/ConsoleText.h"

QString RenderBytes(const QByteArray &data)
{
    ConsoleTextStream stream;
    QString text = stream.feed(data);
    return text + stream.finish();
}

QStringDecoder &ConsoleTextStream::gbk()
{
    if (!gbk_)
        gbk_.emplace("GBK");
    return *gbk_;
}

QString ConsoleTextStream::feed(QByteArrayView piece)
{
    return render(gbk()(piece));
}

QString ConsoleTextStream::finish()
{
    if (!gbk_) { // nothing was fed
        afterCr_ = false;
        return QString();
    }
    // A lead byte at the very end is held back by the decoder; a blank flushes it out as U+FFFD.
    QString rest = (*gbk_)(QByteArrayView(" "));
    rest.chop(1);
    const QString out = render(rest);
    gbk_->resetState();
    afterCr_ = false;
    return out;
}

QString ConsoleTextStream::render(const QString &decoded)
{
    // Raw pointers: this runs over every character of replies up to mebibytes long.
    QString out(decoded.size(), Qt::Uninitialized);
    const char16_t *in = reinterpret_cast<const char16_t *>(decoded.constData());
    const char16_t *const end = in + decoded.size();
    char16_t *const first = reinterpret_cast<char16_t *>(out.data());
    char16_t *to = first;
    if (afterCr_ && in != end && *in == u'\n')
        ++in; // CR LF is one line break, even torn between two pieces
    afterCr_ = false;
    for (; in != end; ++in) {
        const char16_t c = *in;
        if (c >= 0x20 && c != 0x7f && (c < 0xe000 || c > 0xf8ff)) {
            *to++ = c;
        } else if (c == u'\r') {
            *to++ = u'\n';
            if (in + 1 == end)
                afterCr_ = true;
            else if (in[1] == u'\n')
                ++in;
        } else if (c == u'\n') {
            *to++ = u'\n';
        } else if (c < 0x20) {
            *to++ = char16_t(0x2400 + c); // control pictures: NUL shows as ␀
        } else if (c == 0x7f) {
            *to++ = char16_t(0x2421);
        } else {
            *to++ = QChar::ReplacementCharacter; // the GBK decoder maps stray bytes such as FF here
        }
    }
    out.truncate(to - first);
    return out;
}
