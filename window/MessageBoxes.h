#pragma once

// The one seam through which every modal box of the tool passes. In normal runs it shows a QMessageBox;
// tests install a handler that records the box and answers it without a person.

#include <QString>
#include <functional>

class QWidget;

enum class BoxKind { Information, Warning, Error, Question };

struct BoxRequest {
    BoxKind kind;
    QString title;
    QString text;
};

namespace Boxes {

void information(QWidget *parent, const QString &text);
void warning(QWidget *parent, const QString &text);
void error(QWidget *parent, const QString &text);
// Yes/No question; true only for Yes.
bool askYesNo(QWidget *parent, const QString &text);
// A warning without a parent window, titled as the boxes of the window titleSource is in (the serial
// port's own messages).
void warningUnparented(const QWidget *titleSource, const QString &text);
// Titles the boxes of window and of every widget inside it; elsewhere the application's display name.
void setWindowTitleOfBoxes(QWidget *window, const QString &title);

// Asks where to save a file, proposing proposedPath; an empty text when the user cancels.
QString askSaveFileName(QWidget *parent, const QString &title, const QString &proposedPath,
                        const QString &filter);
// Asks which existing file to open, starting in folder; an empty text when the user cancels.
QString askOpenFileName(QWidget *parent, const QString &title, const QString &folder, const QString &filter);

// Handler for tests: gets each box, returns true for "Yes" (ignored for warnings and errors).
using Handler = std::function<bool(const BoxRequest &)>;
void setHandler(Handler handler);
void clearHandler();

// Handler for tests: answers the save-file question with a path (empty: cancelled).
struct SaveFileRequest {
    QString title;
    QString proposedPath;
    QString filter;
};
using SaveFileHandler = std::function<QString(const SaveFileRequest &)>;
void setSaveFileHandler(SaveFileHandler handler);
void clearSaveFileHandler();

// Handler for tests: answers the open-file question with a path (empty: cancelled).
struct OpenFileRequest {
    QString title;
    QString folder;
    QString filter;
};
using OpenFileHandler = std::function<QString(const OpenFileRequest &)>;
void setOpenFileHandler(OpenFileHandler handler);
void clearOpenFileHandler();

} // namespace Boxes
