// The window's end of the reply value decoders: a text or a position from a reply becomes the content
// of a field or the selection of a list, resolved against the items the list holds.

#include "window/MainWindow.h"
#include "window/TypingLimit.h"

#include <QComboBox>
#include <QLineEdit>

int MainWindow::indexOfItem(const QComboBox *box, const QString &text)
{
    if (!box)
        return 0;
    const int found = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return found < 0 ? box->count() : found;
}

void MainWindow::selectItemByText(QComboBox *box, const QString &text)
{
    if (!box)
        return;
    const int found = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        box->setCurrentIndex(found);
}

void MainWindow::selectIndex(QComboBox *box, qint64 index)
{
    if (!box)
        return;
    box->setCurrentIndex(index >= 0 && index < box->count() ? static_cast<int>(index) : -1);
}

void MainWindow::setFieldText(Field id, const QString &text)
{
    // Whole even beyond the typing limit (device ID, zone): the set check refuses what does not fit
    // rather than a cut value going back to the module.
    if (QLineEdit *edit = lineEdit(id))
        ShowWhole(edit, text);
}
