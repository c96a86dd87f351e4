#include "shell/IniProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArray toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString fromGbk(QByteArrayView bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

// Compares a name from the file with a wanted name, both GBK. ASCII letters match in either case; the
// two bytes of a GBK character must match exactly, since its second byte may look like an ASCII letter.
bool sameName(QByteArrayView inFile, QByteArrayView wanted)
{
    if (inFile.size() != wanted.size())
        return false;
    for (qsizetype i = 0; i < inFile.size(); ++i) {
        const char a = inFile[i];
        const char b = wanted[i];
        if (static_cast<unsigned char>(a) >= 0x81 && i + 1 < inFile.size()) {
            if (a != b || inFile[i + 1] != wanted[i + 1])
                return false;
            ++i;
            continue;
        }
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a) != lower(b))
            return false;
    }
    return true;
}

// The name with its ASCII letters in lower case (GBK characters untouched), for sets of names.
QByteArray foldName(QByteArrayView name)
{
    QByteArray folded = name.toByteArray();
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const char c = folded[i];
        if (static_cast<unsigned char>(c) >= 0x81)
            ++i;
        else if (c >= 'A' && c <= 'Z')
            folded[i] = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

// One physical line: [begin, contentEnd) is its text, [contentEnd, end) its "\r\n" or "\n" (if any).
struct Line {
    qsizetype begin;
    qsizetype contentEnd;
    qsizetype end;
};

Line lineAt(const QByteArray &data, qsizetype pos)
{
    const qsizetype newline = data.indexOf('\n', pos);
    if (newline < 0)
        return {pos, data.size(), data.size()};
    qsizetype contentEnd = newline;
    if (contentEnd > pos && data[contentEnd - 1] == '\r')
        --contentEnd;
    return {pos, contentEnd, newline + 1};
}

enum class LineKind { Blank, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    qsizetype nameBegin = 0; // section or key name, blanks trimmed
    qsizetype nameEnd = 0;
    qsizetype valueBegin = 0; // key value, blanks trimmed
    qsizetype valueEnd = 0;
};

QByteArrayView span(const QByteArray &data, qsizetype begin, qsizetype end)
{
    return QByteArrayView(data.constData() + begin, end - begin);
}

// Searches only within the line: a search to the end of the data for every line would make a large
// file of short lines quadratic.
qsizetype indexIn(const QByteArray &data, char c, qsizetype begin, qsizetype end)
{
    const void *hit = std::memchr(data.constData() + begin, c, static_cast<size_t>(end - begin));
    return hit == nullptr ? -1 : static_cast<const char *>(hit) - data.constData();
}

ParsedLine parseLine(const QByteArray &data, const Line &line)
{
    ParsedLine parsed;
    qsizetype b = line.begin;
    qsizetype e = line.contentEnd;
    if (b == 0 && data.startsWith("\xEF\xBB\xBF"))
        b = 3; // a UTF-8 mark left by an editor must not hide the first section
    // A line with 00 bytes is not text; it is kept but never matches anything.
    if (indexIn(data, '\0', b, e) >= 0)
        return parsed;
    while (b < e && isBlank(data[b]))
        ++b;
    while (e > b && isBlank(data[e - 1]))
        --e;
    if (b == e) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    if (data[b] == ';')
        return parsed; // comment
    if (data[b] == '[') {
        // A header without its closing bracket still starts a section, so the keys under it never
        // count as keys of the section before.
        qsizetype close = indexIn(data, ']', b + 1, e);
        if (close < 0)
            close = e;
        qsizetype nb = b + 1;
        qsizetype ne = close;
        while (nb < ne && isBlank(data[nb]))
            ++nb;
        while (ne > nb && isBlank(data[ne - 1]))
            --ne;
        parsed.kind = LineKind::Section;
        parsed.nameBegin = nb;
        parsed.nameEnd = ne;
        return parsed;
    }
    const qsizetype equals = indexIn(data, '=', b, e);
    if (equals < 0)
        return parsed;
    qsizetype ne = equals;
    while (ne > b && isBlank(data[ne - 1]))
        --ne;
    if (ne == b)
        return parsed; // no key name
    qsizetype vb = equals + 1;
    while (vb < e && isBlank(data[vb]))
        ++vb;
    parsed.kind = LineKind::Key;
    parsed.nameBegin = b;
    parsed.nameEnd = ne;
    parsed.valueBegin = vb;
    parsed.valueEnd = e;
    return parsed;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

struct IniProfile::SectionSpan {
    qsizetype bodyBegin = 0; // first byte after the header line
    qsizetype end = 0;       // start of the next section header, or the end of the data
    qsizetype appendAt = 0;  // end of the section's last non-blank line, where a new key goes
};

struct IniProfile::KeyLine {
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
};

bool IniProfile::load(const QString &path)
{
    m_data.clear();
    // Only regular files: a FIFO or device named Config.ini would block or never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || data.size() > kMaxFileSize)
        return false;
    m_data = std::move(data);
    return true;
}

QByteArray IniProfile::encodeName(const QString &name) const
{
    return toGbk(name.trimmed());
}

bool IniProfile::findSection(QByteArrayView name, SectionSpan *result) const
{
    bool inside = false;
    qsizetype pos = 0;
    while (pos < m_data.size()) {
        const Line line = lineAt(m_data, pos);
        const ParsedLine parsed = parseLine(m_data, line);
        if (parsed.kind == LineKind::Section) {
            if (inside) {
                result->end = line.begin;
                return true;
            }
            if (sameName(span(m_data, parsed.nameBegin, parsed.nameEnd), name)) {
                inside = true;
                result->bodyBegin = line.end;
                result->appendAt = line.end;
            }
        } else if (inside && parsed.kind != LineKind::Blank) {
            result->appendAt = line.end;
        }
        pos = line.end;
    }
    result->end = m_data.size();
    return inside;
}

bool IniProfile::findKey(const QString &section, const QString &key, KeyLine *result) const
{
    SectionSpan sectionSpan;
    if (!findSection(encodeName(section), &sectionSpan))
        return false;
    const QByteArray wanted = encodeName(key);
    qsizetype pos = sectionSpan.bodyBegin;
    while (pos < sectionSpan.end) {
        const Line line = lineAt(m_data, pos);
        const ParsedLine parsed = parseLine(m_data, line);
        if (parsed.kind == LineKind::Key &&
            sameName(span(m_data, parsed.nameBegin, parsed.nameEnd), wanted)) {
            result->valueBegin = parsed.valueBegin;
            result->valueEnd = parsed.valueEnd;
            return true;
        }
        pos = line.end;
    }
    return false;
}

QByteArray IniProfile::lineEnding() const
{
    const qsizetype newline = m_data.indexOf('\n');
    if (newline > 0 && m_data[newline - 1] == '\r')
        return QByteArrayLiteral("\r\n");
    if (newline >= 0)
        return QByteArrayLiteral("\n");
    return QByteArrayLiteral("\r\n"); // what the classic profile functions write
}

QString IniProfile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    KeyLine line;
    if (!findKey(section, key, &line))
        return defaultValue;
    return fromGbk(span(m_data, line.valueBegin, line.valueEnd));
}

int IniProfile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    KeyLine line;
    int value = 0;
    if (!findKey(section, key, &line) || !parseInteger(span(m_data, line.valueBegin, line.valueEnd), &value))
        return defaultValue;
    return value;
}

bool IniProfile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniProfile::contains(const QString &section, const QString &key) const
{
    KeyLine line;
    return findKey(section, key, &line);
}

QStringList IniProfile::keys(const QString &section) const
{
    QStringList result;
    SectionSpan sectionSpan;
    if (!findSection(encodeName(section), &sectionSpan))
        return result;
    QSet<QByteArray> seen;
    qsizetype pos = sectionSpan.bodyBegin;
    while (pos < sectionSpan.end) {
        const Line line = lineAt(m_data, pos);
        const ParsedLine parsed = parseLine(m_data, line);
        if (parsed.kind == LineKind::Key) {
            const QByteArrayView name = span(m_data, parsed.nameBegin, parsed.nameEnd);
            const QByteArray folded = foldName(name);
            if (!seen.contains(folded)) {
                seen.insert(folded);
                result.append(fromGbk(name));
            }
        }
        pos = line.end;
    }
    return result;
}

void IniProfile::writeString(const QString &section, const QString &key, const QString &value)
{
    QString clean = value;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    const QByteArray valueBytes = toGbk(clean);

    KeyLine line;
    if (findKey(section, key, &line)) {
        m_data.replace(line.valueBegin, line.valueEnd - line.valueBegin, valueBytes);
        return;
    }

    const QByteArray eol = lineEnding();
    const QByteArray keyLine = encodeName(key) + '=' + valueBytes + eol;
    SectionSpan sectionSpan;
    if (findSection(encodeName(section), &sectionSpan)) {
        // The section's last line may be the file's last line without a line ending.
        const bool needsBreak = sectionSpan.appendAt == m_data.size() && !m_data.endsWith('\n');
        m_data.insert(sectionSpan.appendAt, needsBreak ? eol + keyLine : keyLine);
        return;
    }

    if (!m_data.isEmpty()) {
        if (!m_data.endsWith('\n'))
            m_data += eol;
        // Keep a blank line between the last section and the new one.
        const qsizetype lastBegin = m_data.lastIndexOf('\n', m_data.size() - 2) + 1;
        if (parseLine(m_data, lineAt(m_data, lastBegin)).kind != LineKind::Blank)
            m_data += eol;
    }
    m_data += '[' + encodeName(section) + ']' + eol + keyLine;
}

void IniProfile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniProfile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniProfile::save(const QString &path, QString *error) const
{
    // QSaveFile refuses a read-only target and, without direct-write fallback, a folder it cannot create
    // the temporary file in; the old file is replaced only by commit().
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok)
        ok = file.write(m_data) == m_data.size();
    if (ok)
        ok = file.commit();
    else if (file.isOpen())
        file.cancelWriting();
    if (!ok && error != nullptr)
        *error = file.errorString();
    return ok;
}

bool IniProfile::parseInteger(QByteArrayView text, int *value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 magnitude = 0;
    for (; i < n; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}
