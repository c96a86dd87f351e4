#pragma once

// Keeps everything the console writes in a file as it appears, so that nothing is lost when the
// console trims its history or the tool is killed: UTF-8, a line a line as "Save log" writes them, each
// write handed to the system at once. An open line (a reply still coming) is written as it grows.
// Lines that the console shows below an open line wait until that line is closed, since a file,
// unlike the console, cannot insert above its end; they wait in memory, and past kHeldInMemory in a
// spill file, so a never-ending stream with its HEX line costs no memory.

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>
#include <deque>
#include <memory>

class QTemporaryFile;

// Where a new log file is offered: a dated name in folder, else in Documents, else in the home folder;
// the settings folder is no place for logs.
QString NewLogFilePath(const QString &folder = QString());
class QTimer;

class ConsoleFileLog final : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype kHeldInMemory = 1024 * 1024;

    explicit ConsoleFileLog(QObject *parent = nullptr);
    ~ConsoleFileLog() override;

    // Appends to path from now on; false with the system's reason when it cannot be opened.
    bool start(const QString &path, QString *reason);
    void stop(); // writes what waits, ends open lines, closes the file
    bool isActive() const { return file_.isOpen(); }
    QString path() const { return path_; }

    // The console's writes (ConsoleLog's signals), line breaks as LF.
    void addLines(const QString &text);
    void openLine(int id, const QString &text);
    void growLine(int id, const QString &text);
    void closeLine(int id);

Q_SIGNALS:
    // Logging stopped: a write failed (reason from the system), or the file was removed or replaced.
    void failed(bool removed, const QString &reason);

private:
    struct Entry {
        int id = 0; // 0: whole lines
        bool open = false;
        QByteArray held;
        std::shared_ptr<QTemporaryFile> spill;
    };

    Entry *find(int id);
    void hold(Entry &entry, const QByteArray &bytes);
    void write(const QByteArray &bytes);
    bool writeHeld(Entry &entry);
    void release(); // writes the waiting lines that are no longer below an open one
    void fail(bool removed, const QString &reason);
    void checkStillThere();

    QFile file_;
    QString path_;
    std::deque<Entry> entries_; // in file order; the first, when open, is written as it grows
    QTimer *watch_;
    quint64 device_ = 0;
    quint64 inode_ = 0;
};
