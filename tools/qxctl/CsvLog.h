#pragma once

// A CSV record that survives the program being killed: each row goes to the file in one piece and is
// synced before the caller reports it done. Quoting as RFC 4180 has it, so a spreadsheet opens the
// file as it is.

#include <QString>
#include <QStringList>

class CsvLog {
public:
    CsvLog() = default;
    ~CsvLog();
    CsvLog(const CsvLog &) = delete;
    CsvLog &operator=(const CsvLog &) = delete;

    // Opens path for appending; a new or empty file gets the header first. False with one line for
    // the user when the file cannot be written.
    bool open(const QString &path, const QStringList &header, QString *error);
    bool isOpen() const { return fd_ >= 0; }
    // Appends one row, written whole and synced. False with one line for the user; what was in the
    // file before stays as it was.
    bool append(const QStringList &fields, QString *error);

    static QByteArray line(const QStringList &fields);

private:
    bool write(const QByteArray &bytes, QString *error);

    int fd_ = -1;
    QString path_;
};
