// The Config.ini reader and writer on files of any content. Writes of the keys the tool saves, in any
// order and case, must read back as written (after the trimming and line-break rules of the format),
// also after a save and a new load; keys that were not written read as before; and every line of the
// old file survives except the value part of the lines written.

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "shell/IniProfile.h"

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

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArray trimBlanks(const QByteArray &bytes)
{
    qsizetype b = 0;
    qsizetype e = bytes.size();
    while (b < e && isBlank(bytes[b]))
        ++b;
    while (e > b && isBlank(bytes[e - 1]))
        --e;
    return bytes.mid(b, e - b);
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

// What a read gives back for a written text: line breaks and 00 became blanks, blanks at the ends go.
QString expectedRead(const QString &written)
{
    QString clean = written;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    return fromGbk(trimBlanks(gbk(clean)));
}

QString folded(const QString &section, const QString &key)
{
    return section.toLower() + QLatin1Char('\n') + key.toLower();
}

QList<QByteArray> linesOf(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QList<QByteArray> lines = bytes.split('\n');
    if (bytes.endsWith('\n'))
        lines.removeLast();
    for (QByteArray &line : lines) {
        while (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// The key part of a line up to "=", blanks trimmed and ASCII folded; empty when there is none.
QByteArray keyOf(const QByteArray &line)
{
    const qsizetype equals = line.indexOf('=');
    return equals <= 0 ? QByteArray() : trimBlanks(line.left(equals)).toLower();
}

// A line the writer may add: a blank line, a header of a written section, a line of a written key.
bool isAddedLine(const QByteArray &line, const QSet<QByteArray> &sections, const QSet<QByteArray> &keys)
{
    if (line.isEmpty())
        return true;
    if (line.startsWith('[') && line.endsWith(']'))
        return sections.contains(line.mid(1, line.size() - 2).toLower());
    return keys.contains(keyOf(line));
}

// Old lines appear in the new content in order; only written values changed and only added lines are new.
bool oldLinesSurvive(const QByteArray &before, const QByteArray &after, const QSet<QByteArray> &sections,
                     const QSet<QByteArray> &keys)
{
    const QList<QByteArray> oldLines = linesOf(before);
    const QList<QByteArray> newLines = linesOf(after);
    qsizetype j = 0;
    for (const QByteArray &old : oldLines) {
        for (;; ++j) {
            if (j >= newLines.size())
                return false;
            const QByteArray &line = newLines[j];
            if (line == old)
                break;
            const QByteArray key = keyOf(old);
            if (!key.isEmpty() && keys.contains(key) &&
                line.left(line.indexOf('=')) == old.left(old.indexOf('=')))
                break; // the same key line with its value replaced
            if (!isAddedLine(line, sections, keys))
                return false;
        }
        ++j;
    }
    for (; j < newLines.size(); ++j) {
        if (!isAddedLine(newLines[j], sections, keys))
            return false;
    }
    return true;
}

// Section names as the old file spells them, for the "unchanged keys" check.
QList<QString> sectionsOf(const QByteArray &bytes)
{
    QList<QString> names;
    for (const QByteArray &line : linesOf(bytes)) {
        const QByteArray trimmed = trimBlanks(line);
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            names.append(fromGbk(trimBlanks(trimmed.mid(1, close < 0 ? -1 : close - 1))));
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
    QSet<QByteArray> writtenSections;
    QSet<QByteArray> writtenKeys;

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

    IniProfile before;
    before.setBytes(file);
    IniProfile profile;
    profile.setBytes(file);
    for (const Pending &p : pending) {
        const QString section = QString::fromUtf8(kNames[p.name].section);
        const QString key = QString::fromUtf8(kNames[p.name].key);
        QString expected;
        int number = 0;
        if (p.kind == 0) {
            const QString value = fromGbk(p.value);
            profile.writeString(section, key, value);
            expected = expectedRead(value);
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
        lastWrite.insert(folded(section, key), static_cast<int>(writes.size()));
        writes.append({section, key, expected, p.kind, number});
        writtenSections.insert(gbk(section).toLower());
        writtenKeys.insert(gbk(key).toLower());
    }

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

    for (const QString &section : sectionsOf(file)) {
        for (const QString &key : before.keys(section)) {
            if (lastWrite.contains(folded(section, key)))
                continue;
            QX_FUZZ_CHECK(reread.readString(section, key, missing) ==
                          before.readString(section, key, missing));
        }
    }
    QX_FUZZ_CHECK(oldLinesSurvive(file, profile.bytes(), writtenSections, writtenKeys));

    return 0;
}
