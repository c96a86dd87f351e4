#pragma once

// A small INI profile in the manner of the classic Windows profile functions, kept as the file's own
// text so that a save changes only the values written and leaves every other byte where it was.
//
// Encoding: a file that starts with a UTF-16LE or a UTF-8 byte-order mark is read in that encoding,
// any other file as GBK; a save keeps the file's encoding and mark. New files are GBK.
//
// Lines end in LF (with an optional CR before it); a file without any LF but with CRs has its lines end
// in CR alone. New lines take the file's own line ending (CRLF for a new file).
//
// Reading: sections and keys are found without regard to ASCII letter case; blanks around names and
// values are ignored, and so are those around a name asked for; for a section or key that occurs
// twice the first occurrence counts. A value enclosed in a matching pair of double or single quotes
// reads without them. Integers are decimal, or hexadecimal after "0x"/"0X" or "$", with an optional
// sign; a missing key or a text that is not an integer in int range gives the caller's default.
// Booleans are integers (non-zero is true) and are written as "1"/"0".
//
// Writing replaces the value of the key's (first) line or adds a key line at the end of its section,
// creating the section at the end of the file when it is missing. Values are written as they are,
// without quotes.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

class IniProfile {
public:
    // Files larger than this are not parsed at all: a settings file never comes near it, and reading
    // an arbitrary large file into memory at start-up is not worth the risk.
    static constexpr qsizetype kMaxFileSize = 4 * 1024 * 1024;

    enum class Encoding { Gbk, Utf8, Utf16LE };

    // Replaces the content with the file's bytes. A missing, unreadable, non-regular or oversized
    // file leaves the profile empty (every read gives its default) and returns false.
    bool load(const QString &path);

    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool contains(const QString &section, const QString &key) const;

    // The distinct keys of the section's first occurrence, as spelled in the file, in file order.
    QStringList keys(const QString &section) const;

    // Line breaks and 00 characters in a value would break the file's line structure; they are written
    // as blanks.
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    // Writes the whole content to a new file beside `path` and puts it in place in one step, so the old
    // file is either replaced completely or left untouched. Where the folder refuses that new file but
    // the file itself may be written, the file is overwritten in place instead. On failure returns
    // false and, when given, sets *error to the system's reason.
    bool save(const QString &path, QString *error = nullptr) const;

    // The file as it would be saved: mark, text in the file's encoding.
    QByteArray bytes() const;
    void setBytes(const QByteArray &data);
    Encoding encoding() const { return m_encoding; }

    // Integer syntax of the profile reads; exposed for the tests and for callers that parse the same way.
    static bool parseInteger(QByteArrayView text, int *value);

private:
    struct KeyLine;
    struct SectionSpan;

    QString toUnits(const QString &text) const;
    QString fromUnits(QStringView units) const;
    QString encodeName(const QString &name) const;
    bool sameName(QStringView inFile, QStringView wanted) const;
    QString foldName(QStringView name) const;
    bool findSection(QStringView name, SectionSpan *span) const;
    bool findKey(const QString &section, const QString &key, KeyLine *line) const;

    Encoding m_encoding = Encoding::Gbk;
    QByteArray m_mark;
    // The text as code units: one per byte (as Latin-1) in a GBK or UTF-8 file, one per 16-bit unit in
    // a UTF-16 file. Every encoding shares the ASCII units the format is made of, so one parser serves
    // all three, and a unit that is not valid text survives a save unchanged.
    QString m_text;
    QByteArray m_oddByte; // a UTF-16 file's last byte without its pair
    bool m_crLines = false;
    QString m_lineEnd = QStringLiteral("\r\n");
};
