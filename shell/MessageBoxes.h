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

// Handler for tests: gets each box, returns true for "Yes" (ignored for warnings and errors).
using Handler = std::function<bool(const BoxRequest &)>;
void setHandler(Handler handler);
void clearHandler();

} // namespace Boxes
