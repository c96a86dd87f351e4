// The Config.ini reader and writer on files of any content. Writes of the keys the tool saves, in any
// order and case, must read back as written (after the trimming, quoting and line-break rules of the
// format, in the file's own encoding), also after a save and a new load; keys that were not written
// read as before; every line of the old file survives except the value part of the lines written; and
// the file keeps its encoding mark and its kind of line ending.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "protocol/IniProfile.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace fuzzini {

struct Name {
    const char *section;
    const char *key;
};

// What the tool writes at exit, a few spellings of other case, and port mappings.
const Name kNames[] = {
    {"info", "COM"},
    {"info", "BaudRate"},
    {"Network", "TargetGPRSID"},
    {"Network", "TargetZone"},
    {"Local", "LocalZone"},
    {"Local", "LocalID"},
    {"Network", "TargetZonValid"},
    {"Network", "FirstIP"},
    {"Network", "UDPPort"},
    {"Network", "TCPPort"},
    {"Network", "Protocol"},
    {"Network", "AutoChange"},
    {"Network", "Nobacktimes"},
    {"Heart", "Interval"},
    {"Heart", "BLHeart"},
    {"CheckOnLine", "Interval"},
    {"CheckOnLine", "CheckOnLine"},
    {"Program", "FontCharset"},
    {"Program", "FontName"},
    {"Network", "COMType"},
    {"Network", "UDPPort2"},
    {"Network", "TCPPort2"},
    {"Network", "ServerIP"},
    {"Network", "ServerIP2"},
    {"Program", "AddChr"},
    {"Program", "ShowHEX"},
    {"NETWORK", "serverip"},
    {"program", "SHOWHEX"},
    {"Ports", "COM1"},
    {"Ports", "COM36"},
    {"Ver", "CEO"},
    {"中文", "键"},
};
constexpr int kNameCount = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\r' || u == '\v' || u == '\f';
}

QString trimBlanks(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.mid(b, e - b);
}

QString unquote(const QString &value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QByteArray gbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    return encoder(text);
}

QString fromGbk(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    return decoder(bytes);
}

// A file as the reader sees it: its encoding from the mark, and its text as code units (a byte each in
// GBK and UTF-8, a 16-bit unit each in UTF-16LE).
struct FileText {
    IniProfile::Encoding encoding = IniProfile::Encoding::Gbk;
    QByteArray mark;
    QString units;
};

FileText textOf(const QByteArray &bytes)
{
    FileText file;
    if (bytes.startsWith("\xFF\xFE")) {
        file.encoding = IniProfile::Encoding::Utf16LE;
        file.mark = bytes.left(2);
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2)
            file.units += QChar(
                static_cast<char16_t>(static_cast<uchar>(bytes[i]) | static_cast<uchar>(bytes[i + 1]) << 8));
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        file.encoding = IniProfile::Encoding::Utf8;
        file.mark = bytes.left(3);
        file.units = QString::fromLatin1(bytes.mid(3));
    } else {
        file.units = QString::fromLatin1(bytes);
    }
    return file;
}

QString toUnits(const QString &text, IniProfile::Encoding encoding)
{
    switch (encoding) {
    case IniProfile::Encoding::Gbk:
        return QString::fromLatin1(gbk(text));
    case IniProfile::Encoding::Utf8:
        return QString::fromLatin1(text.toUtf8());
    case IniProfile::Encoding::Utf16LE:
        break;
    }
    return text;
}

QString fromUnits(const QString &units, IniProfile::Encoding encoding)
{
    switch (encoding) {
    case IniProfile::Encoding::Gbk:
        return fromGbk(units.toLatin1());
    case IniProfile::Encoding::Utf8:
        return QString::fromUtf8(units.toLatin1());
    case IniProfile::Encoding::Utf16LE:
        break;
    }
    return units;
}

// A text value as the fuzzer spells it in the file's own encoding, so each encoding meets the characters
// it can hold (GBK pairs, UTF-8 sequences, UTF-16 units including lone surrogates).
QString valueText(const QByteArray &bytes, IniProfile::Encoding encoding)
{
    if (encoding == IniProfile::Encoding::Utf16LE) {
        QString text;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            text += QChar(
                static_cast<char16_t>(static_cast<uchar>(bytes[i]) | static_cast<uchar>(bytes[i + 1]) << 8));
        return text;
    }
    return encoding == IniProfile::Encoding::Utf8 ? QString::fromUtf8(bytes) : fromGbk(bytes);
}

// What a read gives back for a written text: line breaks and 00 became blanks, blanks at the ends go,
// then a matching pair of quotes around the rest.
QString expectedRead(const QString &written, IniProfile::Encoding encoding)
{
    QString clean = written;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    return fromUnits(unquote(trimBlanks(toUnits(clean, encoding))), encoding);
}

// ASCII letters in lower case; in GBK the byte after one from 81 up is the second half of a character
// and stays as it is.
QString foldUnits(const QString &units, IniProfile::Encoding encoding)
{
    QString folded = units;
    for (qsizetype i = 0; i < folded.size(); ++i) {
        const char16_t u = folded[i].unicode();
        if (encoding == IniProfile::Encoding::Gbk && u >= 0x81)
            ++i;
        else if (u >= 'A' && u <= 'Z')
            folded[i] = QChar(static_cast<char16_t>(u - 'A' + 'a'));
    }
    return folded;
}

// A name as the reader finds it: in the file's units, trimmed of blanks, letter case folded.
QString nameKey(const QString &name, IniProfile::Encoding encoding)
{
    return foldUnits(trimBlanks(toUnits(name, encoding)), encoding);
}

QString folded(const QString &section, const QString &key, IniProfile::Encoding encoding)
{
    return nameKey(section, encoding) + QLatin1Char('\n') + nameKey(key, encoding);
}

// Lines end in LF; in a file without any LF, in CR.
QList<QString> linesOf(const QString &units)
{
    if (units.isEmpty())
        return {};
    const bool crLines = !units.contains(u'\n');
    const QChar brk = crLines ? u'\r' : u'\n';
    QList<QString> lines = units.split(brk);
    if (units.endsWith(brk))
        lines.removeLast();
    for (QString &line : lines) {
        while (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

// The key part of a line up to "=", blanks trimmed and ASCII folded; empty when there is none.
QString keyOf(const QString &line, IniProfile::Encoding encoding)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals <= 0 ? QString() : foldUnits(trimBlanks(line.left(equals)), encoding);
}

// A line the writer may add: a blank line, a header of a written section, a line of a written key.
bool isAddedLine(const QString &line, const QSet<QString> &sections, const QSet<QString> &keys,
                 IniProfile::Encoding encoding)
{
    if (line.isEmpty())
        return true;
    if (line.startsWith(u'[') && line.endsWith(u']'))
        return sections.contains(foldUnits(line.mid(1, line.size() - 2), encoding));
    return keys.contains(keyOf(line, encoding));
}

// Old lines appear in the new content in order; only written values changed and only added lines are new.
bool oldLinesSurvive(const QString &before, const QString &after, const QSet<QString> &sections,
                     const QSet<QString> &keys, IniProfile::Encoding encoding)
{
    const QList<QString> oldLines = linesOf(before);
    const QList<QString> newLines = linesOf(after);
    qsizetype j = 0;
    for (const QString &old : oldLines) {
        for (;; ++j) {
            if (j >= newLines.size())
                return false;
            const QString &line = newLines[j];
            if (line == old)
                break;
            const QString key = keyOf(old, encoding);
            if (!key.isEmpty() && keys.contains(key) &&
                line.left(line.indexOf(u'=')) == old.left(old.indexOf(u'=')))
                break; // the same key line with its value replaced
            if (!isAddedLine(line, sections, keys, encoding))
                return false;
        }
        ++j;
    }
    for (; j < newLines.size(); ++j) {
        if (!isAddedLine(newLines[j], sections, keys, encoding))
            return false;
    }
    return true;
}

qsizetype bareLineFeeds(const QString &units)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < units.size(); ++i) {
        if (units[i] == u'\n' && (i == 0 || units[i - 1] != u'\r'))
            ++count;
    }
    return count;
}

// New lines end the way the file's lines end: no LF enters a file of CR lines, no bare LF a CR LF file.
bool lineEndsKept(const QString &before, const QString &after)
{
    const qsizetype newline = before.indexOf(u'\n');
    if (newline < 0 && before.contains(u'\r'))
        return !after.contains(u'\n');
    if (newline < 0 || (newline > 0 && before[newline - 1] == u'\r'))
        return bareLineFeeds(after) == bareLineFeeds(before);
    return true;
}

// Section names as the old file spells them, for the "unchanged keys" check.
QList<QString> sectionsOf(const FileText &file)
{
    QList<QString> names;
    for (const QString &line : linesOf(file.units)) {
        const QString trimmed = trimBlanks(line);
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            names.append(fromUnits(trimBlanks(trimmed.mid(1, close < 0 ? -1 : close - 1)), file.encoding));
        }
    }
    return names;
}

} // namespace fuzzini

QX_FUZZ_TARGET(ini)
{
    using namespace fuzzini;
    FuzzInput in(data, size);
    struct Write {
        QString section;
        QString key;
        QString expected;
        int kind; // 0 text, 1 integer, 2 boolean
        int number;
    };
    QList<Write> writes;
    QHash<QString, int> lastWrite; // folded name -> index into writes

    const int count = in.pick(12);
    struct Pending {
        int name;
        int kind;
        QByteArray value;
    };
    QList<Pending> pending;
    for (int i = 0; i < count; ++i) {
        const int name = in.pick(kNameCount);
        const int kind = in.pick(3);
        pending.append({name, kind, in.chunk()});
    }
    const bool throughFile = in.flag();
    const QByteArray file = in.rest();
    const FileText old = textOf(file);
    const IniProfile::Encoding encoding = old.encoding;

    IniProfile before;
    before.setBytes(file);
    QX_FUZZ_CHECK(before.encoding() == encoding);
    QX_FUZZ_CHECK(before.bytes() == file);
    IniProfile profile;
    profile.setBytes(file);
    QSet<QString> writtenSections;
    QSet<QString> writtenKeys;
    for (const Pending &p : pending) {
        const QString section = QString::fromUtf8(kNames[p.name].section);
        const QString key = QString::fromUtf8(kNames[p.name].key);
        QString expected;
        int number = 0;
        if (p.kind == 0) {
            const QString value = valueText(p.value, encoding);
            profile.writeString(section, key, value);
            expected = expectedRead(value, encoding);
        } else if (p.kind == 1) {
            int value = 0;
            for (const char c : p.value.left(4))
                value = static_cast<int>(static_cast<unsigned>(value) << 8 | static_cast<unsigned char>(c));
            profile.writeInteger(section, key, value);
            expected = QString::number(value);
            number = value;
        } else {
            const bool value = !p.value.isEmpty() && (p.value[0] & 1);
            profile.writeBool(section, key, value);
            expected = value ? QStringLiteral("1") : QStringLiteral("0");
            number = value ? 1 : 0;
        }
        lastWrite.insert(folded(section, key, encoding), static_cast<int>(writes.size()));
        writes.append({section, key, expected, p.kind, number});
        writtenSections.insert(nameKey(section, encoding));
        writtenKeys.insert(nameKey(key, encoding));
    }

    // The file keeps its encoding and its mark.
    const FileText saved = textOf(profile.bytes());
    QX_FUZZ_CHECK(saved.encoding == encoding && saved.mark == old.mark);
    QX_FUZZ_CHECK(profile.encoding() == encoding);

    IniProfile reread;
    if (throughFile) {
        // Saving syncs the file to disk; in memory that costs nothing and the fuzzer stays fast.
        static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                     ? QStringLiteral("/dev/shm/qxfuzz-XXXXXX")
                                     : QDir::tempPath() + QStringLiteral("/qxfuzz-XXXXXX"));
        const QString path = dir.filePath(QStringLiteral("Config.ini"));
        QX_FUZZ_CHECK(profile.save(path));
        QX_FUZZ_CHECK(reread.load(path) || profile.bytes().isEmpty());
        QX_FUZZ_CHECK(reread.bytes() == profile.bytes());
    } else {
        reread.setBytes(profile.bytes());
    }

    const QString missing = QStringLiteral("\x01missing");
    for (const IniProfile *p : {&profile, &reread}) {
        for (auto it = lastWrite.cbegin(); it != lastWrite.cend(); ++it) {
            const Write &w = writes[it.value()];
            QX_FUZZ_CHECK(p->readString(w.section, w.key, missing) == w.expected);
            if (w.kind == 1) {
                QX_FUZZ_CHECK(p->readInteger(w.section, w.key, ~w.number) == w.number);
                // The hexadecimal spellings a person may type read as the same number.
                if (w.number >= 0) {
                    int hex = 0;
                    const QByteArray digits = QByteArray::number(w.number, 16);
                    QX_FUZZ_CHECK(IniProfile::parseInteger(QByteArray("0x" + digits), &hex) &&
                                  hex == w.number);
                    QX_FUZZ_CHECK(IniProfile::parseInteger(QByteArray("$" + digits.toUpper()), &hex) &&
                                  hex == w.number);
                }
            }
            if (w.kind == 2)
                QX_FUZZ_CHECK(p->readBool(w.section, w.key, w.number == 0) == (w.number != 0));
        }
    }

    for (const QString &section : sectionsOf(old)) {
        for (const QString &key : before.keys(section)) {
            if (lastWrite.contains(folded(section, key, encoding)))
                continue;
            QX_FUZZ_CHECK(reread.readString(section, key, missing) ==
                          before.readString(section, key, missing));
            QX_FUZZ_CHECK(reread.readInteger(section, key, -7) == before.readInteger(section, key, -7));
        }
    }
    QX_FUZZ_CHECK(oldLinesSurvive(old.units, saved.units, writtenSections, writtenKeys, encoding));
    QX_FUZZ_CHECK(lineEndsKept(old.units, saved.units));

    return 0;
}
