#pragma once

// A small INI profile in the manner of the classic Windows profile functions, kept as the file's own
// bytes so that a save changes only the values written and leaves every other byte where it was.
//
// Reading: sections and keys are found without regard to ASCII letter case; blanks around keys and
// values are ignored; for a section or key that occurs twice the first occurrence counts. Values are
// GBK on disk and Unicode here. Integers are decimal, or hexadecimal after "0x"/"0X" or "$", with an
// optional sign; a missing key or a text that is not an integer in int range gives the caller's
// default. Booleans are integers (non-zero is true) and are written as "1"/"0".
//
// Writing replaces the value of the key's (first) line or adds a key line at the end of its section,
// creating the section at the end of the file when it is missing. New lines take the file's own line
// ending (CRLF for a new file).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

class IniProfile {
public:
    // Files larger than this are not parsed at all: a settings file never comes near it, and reading
    // an arbitrary large file into memory at start-up is not worth the risk.
    static constexpr qsizetype kMaxFileSize = 4 * 1024 * 1024;

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
    // file is either replaced completely or left untouched. On failure returns false and, when given,
    // sets *error to the system's reason.
    bool save(const QString &path, QString *error = nullptr) const;

    const QByteArray &bytes() const { return m_data; }
    void setBytes(const QByteArray &data) { m_data = data; }

    // Integer syntax of the profile reads; exposed for the tests and for callers that parse the same way.
    static bool parseInteger(QByteArrayView text, int *value);

private:
    struct KeyLine;
    struct SectionSpan;

    QByteArray encodeName(const QString &name) const;
    bool findSection(QByteArrayView name, SectionSpan *span) const;
    bool findKey(const QString &section, const QString &key, KeyLine *line) const;
    QByteArray lineEnding() const;

    QByteArray m_data;
};
