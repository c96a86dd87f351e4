#pragma once

// Makes a file impossible to write or replace for the fixture's lifetime (chattr +i). Tests run as
// root, for whom a read-only mode bit changes nothing; the immutable flag holds even for root.

#include <QString>

class ImmutableFile {
public:
    explicit ImmutableFile(const QString &path);
    ~ImmutableFile();
    ImmutableFile(const ImmutableFile &) = delete;
    ImmutableFile &operator=(const ImmutableFile &) = delete;

    // False when the flag could not be set (no chattr, file system without it, no capability).
    bool isSet() const { return set_; }
    static QString unavailableReason() { return QStringLiteral("chattr +i is not available here"); }

private:
    QString path_;
    bool set_ = false;
};
