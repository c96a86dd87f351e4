#include "protocol/IniProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

#include <unistd.h>

namespace {

const QByteArray kUtf16LeMark = QByteArrayLiteral("\xFF\xFE");
const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\r' || u == '\v' || u == '\f';
}

char16_t foldAscii(char16_t u)
{
    return u >= 'A' && u <= 'Z' ? static_cast<char16_t>(u - 'A' + 'a') : u;
}

QStringView trimBlanks(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.mid(b, e - b);
}

// One physical line: [begin, contentEnd) is its text, [contentEnd, end) its line ending (if any).
struct Line {
    qsizetype begin;
    qsizetype contentEnd;
    qsizetype end;
};

Line lineAt(const QString &text, qsizetype pos, bool crLines)
{
    const qsizetype brk = text.indexOf(crLines ? u'\r' : u'\n', pos);
    if (brk < 0)
        return {pos, text.size(), text.size()};
    qsizetype contentEnd = brk;
    if (!crLines && contentEnd > pos && text[contentEnd - 1] == u'\r')
        --contentEnd;
    return {pos, contentEnd, brk + 1};
}

enum class LineKind { Blank, Section, Key, Other };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    qsizetype nameBegin = 0; // section or key name, blanks trimmed
    qsizetype nameEnd = 0;
    qsizetype valueBegin = 0; // key value, blanks trimmed
    qsizetype valueEnd = 0;
};

QStringView span(const QString &text, qsizetype begin, qsizetype end)
{
    return QStringView(text).mid(begin, end - begin);
}

// Searches only within the line: a search to the end of the text for every line would make a large
// file of short lines quadratic.
qsizetype indexIn(const QString &text, char16_t c, qsizetype begin, qsizetype end)
{
    const QChar *first = text.constData() + begin;
    const QChar *last = text.constData() + end;
    const QChar *hit = std::find(first, last, QChar(c));
    return hit == last ? -1 : hit - text.constData();
}

ParsedLine parseLine(const QString &text, const Line &line)
{
    ParsedLine parsed;
    qsizetype b = line.begin;
    qsizetype e = line.contentEnd;
    // A line with 00 characters is not text; it is kept but never matches anything.
    if (indexIn(text, 0, b, e) >= 0)
        return parsed;
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    if (b == e) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    if (text[b] == u';')
        return parsed; // comment
    if (text[b] == u'[') {
        // A header without its closing bracket still starts a section, so the keys under it never
        // count as keys of the section before.
        qsizetype close = indexIn(text, u']', b + 1, e);
        if (close < 0)
            close = e;
        qsizetype nb = b + 1;
        qsizetype ne = close;
        while (nb < ne && isBlank(text[nb]))
            ++nb;
        while (ne > nb && isBlank(text[ne - 1]))
            --ne;
        parsed.kind = LineKind::Section;
        parsed.nameBegin = nb;
        parsed.nameEnd = ne;
        return parsed;
    }
    const qsizetype equals = indexIn(text, u'=', b, e);
    if (equals < 0)
        return parsed;
    qsizetype ne = equals;
    while (ne > b && isBlank(text[ne - 1]))
        --ne;
    if (ne == b)
        return parsed; // no key name
    qsizetype vb = equals + 1;
    while (vb < e && isBlank(text[vb]))
        ++vb;
    parsed.kind = LineKind::Key;
    parsed.nameBegin = b;
    parsed.nameEnd = ne;
    parsed.valueBegin = vb;
    parsed.valueEnd = e;
    return parsed;
}

// The platform's profile functions hand out a value enclosed in a matching pair of quotes without them,
// so a hand-written COM="3" is port 3. A lone quote is part of the value.
QStringView unquoted(QStringView value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
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

// Overwrites a regular file's bytes where it is. Not atomic: only for a file whose folder refuses the
// temporary file of an atomic save. *reason is set when the file is there but cannot be written.
bool overwriteInPlace(const QString &path, const QByteArray &data, QString *reason)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    // ReadWrite, not WriteOnly: WriteOnly would empty the file before the first new byte is written.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        *reason = file.errorString();
        return false;
    }
    const bool ok = file.write(data) == data.size() && file.flush() && file.resize(data.size()) &&
                    ::fsync(file.handle()) == 0;
    if (!ok)
        *reason = file.errorString();
    return ok;
}

} // namespace

struct IniProfile::SectionSpan {
    qsizetype bodyBegin = 0; // first unit after the header line
    qsizetype end = 0;       // start of the next section header, or the end of the text
    qsizetype appendAt = 0;  // end of the section's last non-blank line, where a new key goes
};

struct IniProfile::KeyLine {
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
};

bool IniProfile::load(const QString &path)
{
    setBytes(QByteArray());
    // Only regular files: a FIFO or device named Config.ini would block or never end.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // A read of the size found, one byte more to see a file that grew since; a read of the cap at once
    // would allocate the whole cap for every small file.
    QByteArray data = file.read(info.size() + 1);
    if (data.size() > info.size())
        data += file.read(kMaxFileSize + 1 - data.size());
    if (file.error() != QFileDevice::NoError || data.size() > kMaxFileSize)
        return false;
    setBytes(data);
    return true;
}

void IniProfile::setBytes(const QByteArray &data)
{
    m_oddByte.clear();
    if (data.startsWith(kUtf16LeMark)) {
        m_encoding = Encoding::Utf16LE;
        m_mark = kUtf16LeMark;
        const qsizetype units = (data.size() - m_mark.size()) / 2;
        m_text.resize(units);
        QChar *out = m_text.data();
        const auto *bytes = reinterpret_cast<const uchar *>(data.constData() + m_mark.size());
        for (qsizetype i = 0; i < units; ++i)
            out[i] = QChar(static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8));
        if ((data.size() - m_mark.size()) % 2 != 0)
            m_oddByte = data.right(1);
    } else if (data.startsWith(kUtf8Mark)) {
        m_encoding = Encoding::Utf8;
        m_mark = kUtf8Mark;
        m_text = QString::fromLatin1(data.mid(m_mark.size()));
    } else {
        m_encoding = Encoding::Gbk;
        m_mark.clear();
        m_text = QString::fromLatin1(data);
    }

    // Writes add only the line ending chosen here, so the choice holds for the profile's lifetime.
    const qsizetype newline = m_text.indexOf(u'\n');
    m_crLines = newline < 0 && m_text.contains(u'\r');
    if (m_crLines)
        m_lineEnd = QStringLiteral("\r");
    else if (newline >= 0 && (newline == 0 || m_text[newline - 1] != u'\r'))
        m_lineEnd = QStringLiteral("\n");
    else
        m_lineEnd = QStringLiteral("\r\n"); // also what the classic profile functions write to a new file
}

QByteArray IniProfile::bytes() const
{
    QByteArray out = m_mark;
    if (m_encoding == Encoding::Utf16LE) {
        out.reserve(m_mark.size() + 2 * m_text.size() + m_oddByte.size());
        for (const QChar c : m_text) {
            out += static_cast<char>(c.unicode() & 0xff);
            out += static_cast<char>(c.unicode() >> 8);
        }
    } else {
        out += m_text.toLatin1();
    }
    return out + m_oddByte;
}

namespace {
// ASCII is the same in GBK and in the units: no converter is opened for it (that loads ICU's tables,
// a start-up cost for a Config.ini that is nearly always plain ASCII).
bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}
} // namespace

QString IniProfile::toUnits(const QString &text) const
{
    switch (m_encoding) {
    case Encoding::Gbk: {
        if (isAscii(text))
            return text;
        QStringEncoder encoder("GBK");
        return QString::fromLatin1(QByteArray(encoder.encode(text)));
    }
    case Encoding::Utf8:
        return QString::fromLatin1(text.toUtf8());
    case Encoding::Utf16LE:
        break;
    }
    return text;
}

QString IniProfile::fromUnits(QStringView units) const
{
    switch (m_encoding) {
    case Encoding::Gbk: {
        if (isAscii(units))
            return units.toString();
        QStringDecoder decoder("GBK");
        return decoder.decode(units.toLatin1());
    }
    case Encoding::Utf8:
        return QString::fromUtf8(units.toLatin1());
    case Encoding::Utf16LE:
        break;
    }
    return units.toString();
}

QString IniProfile::encodeName(const QString &name) const
{
    // Trimmed of the same blanks as the names in the file, so that a name asked for with blanks around
    // it finds exactly the section or key a file line with those blanks would be.
    return trimBlanks(toUnits(name)).toString();
}

// ASCII letters match in either case. In GBK the second byte of a character may look like an ASCII
// letter, so a byte from 81 up and the byte after it must match exactly.
bool IniProfile::sameName(QStringView inFile, QStringView wanted) const
{
    if (inFile.size() != wanted.size())
        return false;
    const bool pairs = m_encoding == Encoding::Gbk;
    for (qsizetype i = 0; i < inFile.size(); ++i) {
        const char16_t a = inFile[i].unicode();
        const char16_t b = wanted[i].unicode();
        if (pairs && a >= 0x81 && i + 1 < inFile.size()) {
            if (a != b || inFile[i + 1] != wanted[i + 1])
                return false;
            ++i;
            continue;
        }
        if (foldAscii(a) != foldAscii(b))
            return false;
    }
    return true;
}

// The name with its ASCII letters in lower case (the rest untouched), for sets of names.
QString IniProfile::foldName(QStringView name) const
{
    QString folded = name.toString();
    const bool pairs = m_encoding == Encoding::Gbk;
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const char16_t u = folded[i].unicode();
        if (pairs && u >= 0x81)
            ++i;
        else
            folded[i] = QChar(foldAscii(u));
    }
    return folded;
}

bool IniProfile::findSection(QStringView name, SectionSpan *result) const
{
    bool inside = false;
    qsizetype pos = 0;
    while (pos < m_text.size()) {
        const Line line = lineAt(m_text, pos, m_crLines);
        const ParsedLine parsed = parseLine(m_text, line);
        if (parsed.kind == LineKind::Section) {
            if (inside) {
                result->end = line.begin;
                return true;
            }
            if (sameName(span(m_text, parsed.nameBegin, parsed.nameEnd), name)) {
                inside = true;
                result->bodyBegin = line.end;
                result->appendAt = line.end;
            }
        } else if (inside && parsed.kind != LineKind::Blank) {
            result->appendAt = line.end;
        }
        pos = line.end;
    }
    result->end = m_text.size();
    return inside;
}

bool IniProfile::findKey(const QString &section, const QString &key, KeyLine *result) const
{
    SectionSpan sectionSpan;
    if (!findSection(encodeName(section), &sectionSpan))
        return false;
    const QString wanted = encodeName(key);
    qsizetype pos = sectionSpan.bodyBegin;
    while (pos < sectionSpan.end) {
        const Line line = lineAt(m_text, pos, m_crLines);
        const ParsedLine parsed = parseLine(m_text, line);
        if (parsed.kind == LineKind::Key &&
            sameName(span(m_text, parsed.nameBegin, parsed.nameEnd), wanted)) {
            result->valueBegin = parsed.valueBegin;
            result->valueEnd = parsed.valueEnd;
            return true;
        }
        pos = line.end;
    }
    return false;
}

QString IniProfile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    KeyLine line;
    if (!findKey(section, key, &line))
        return defaultValue;
    return fromUnits(unquoted(span(m_text, line.valueBegin, line.valueEnd)));
}

int IniProfile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    KeyLine line;
    if (!findKey(section, key, &line))
        return defaultValue;
    // A unit outside Latin-1 becomes "?", which no integer contains.
    const QByteArray text = unquoted(span(m_text, line.valueBegin, line.valueEnd)).toLatin1();
    int value = 0;
    return parseInteger(text, &value) ? value : defaultValue;
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
    QSet<QString> seen;
    qsizetype pos = sectionSpan.bodyBegin;
    while (pos < sectionSpan.end) {
        const Line line = lineAt(m_text, pos, m_crLines);
        const ParsedLine parsed = parseLine(m_text, line);
        if (parsed.kind == LineKind::Key) {
            const QStringView name = span(m_text, parsed.nameBegin, parsed.nameEnd);
            const QString folded = foldName(name);
            if (!seen.contains(folded)) {
                seen.insert(folded);
                result.append(fromUnits(name));
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
    const QString valueUnits = toUnits(clean);

    KeyLine line;
    if (findKey(section, key, &line)) {
        m_text.replace(line.valueBegin, line.valueEnd - line.valueBegin, valueUnits);
        return;
    }

    const QString keyLine = encodeName(key) + u'=' + valueUnits + m_lineEnd;
    SectionSpan sectionSpan;
    if (findSection(encodeName(section), &sectionSpan)) {
        // The section's last line may be the file's last line without a line ending.
        const bool needsBreak = sectionSpan.appendAt == m_text.size() && !m_text.endsWith(m_lineEnd.back());
        m_text.insert(sectionSpan.appendAt, needsBreak ? m_lineEnd + keyLine : keyLine);
        return;
    }

    if (!m_text.isEmpty()) {
        if (!m_text.endsWith(m_lineEnd.back()))
            m_text += m_lineEnd;
        // Keep a blank line between the last section and the new one.
        const qsizetype lastBegin = m_text.lastIndexOf(m_lineEnd.back(), m_text.size() - 2) + 1;
        if (parseLine(m_text, lineAt(m_text, lastBegin, m_crLines)).kind != LineKind::Blank)
            m_text += m_lineEnd;
    }
    m_text += u'[' + encodeName(section) + u']' + m_lineEnd + keyLine;
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
    const QByteArray data = bytes();
    // QSaveFile refuses a read-only target and, without its own direct-write fallback (which Qt takes
    // only for EACCES, not for EPERM), a folder it cannot create the temporary file in; the old file is
    // replaced only by commit().
    QSaveFile file(path);
    QString reason;
    if (file.open(QIODevice::WriteOnly)) {
        const bool written = file.write(data) == data.size();
        if (written && file.commit())
            return true;
        reason = file.errorString();
        // A write that failed (a full disk) must not be retried over the only good copy; the unwritten
        // temporary file is discarded with `file`.
        if (!written || file.error() != QFileDevice::RenameError) {
            if (error != nullptr)
                *error = reason;
            return false;
        }
    } else {
        reason = file.errorString();
    }
    // No new file could be put beside it: a folder that lets the user write Config.ini but not create
    // or rename files. Better a save that is not atomic than settings lost at every exit.
    if (overwriteInPlace(path, data, &reason))
        return true;
    if (error != nullptr)
        *error = reason;
    return false;
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
