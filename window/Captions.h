#pragma once

// The caption book: every translatable caption of a window, with its Chinese (designed) and English
// text. The forms are built in Chinese; apply(true) switches them to English once at first show.
// The book also gives each control its accessible name, so screen readers and tests find it:
// a group box its title, a field or list its label's caption, a button its caption, and a button
// whose caption several buttons share its caption, a blank and the caption of its row's label.

#include "protocol/Caption.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QTabWidget;
class QWidget;

class CaptionBook {
public:
    // A control showing text (button, radio button, check box, label): its caption is its name.
    void addControl(QWidget *control, const Caption &caption);
    // A button whose caption other buttons share: named caption + " " + the row caption.
    void addRowButton(QWidget *button, const Caption &caption, const Caption &rowCaption);
    void addGroup(QGroupBox *group, const Caption &title);
    // A label and the field or list it names (the label becomes the field's buddy).
    void addField(QLabel *label, QWidget *field, const Caption &caption);
    // A field with no label of its own, named by a caption (e.g. the console).
    void addNamed(QWidget *field, const Caption &name);
    // A field whose visible label is shared with others (a column head): a label that shows nothing
    // becomes its buddy and carries the field's own name, since Linux screen readers name a list by
    // its label only.
    void addUnseenLabel(QLabel *label, QWidget *field, const Caption &name);
    // A control whose name is the text it shows (a status panel): what it is for, as its description.
    void addDescription(QWidget *control, const Caption &description);
    void addAction(QAction *action, const Caption &caption);
    void addMenu(QMenu *menu, const Caption &caption);
    void addTab(QTabWidget *tabs, int index, const Caption &caption);
    void addWindowTitle(QWidget *window, const Caption &caption);
    // List items whose texts change with the language (positions stay).
    void addItems(QComboBox *box, const QStringList &cn, const QStringList &en);

    void apply(bool english);
    bool english() const { return english_; }

private:
    enum class Kind {
        Control,
        RowButton,
        Group,
        Field,
        Named,
        UnseenLabel,
        Description,
        Action,
        Menu,
        Tab,
        Title,
        Items
    };
    struct Entry {
        Kind kind;
        QPointer<QObject> target;
        QPointer<QObject> other; // label of a field, tab widget of a tab
        int index = 0;
        Caption caption;
        Caption row;
        QStringList itemsCn;
        QStringList itemsEn;
    };
    void applyEntry(const Entry &entry, bool english);
    void nameTwinsByGroup();
    void addTwinCandidate(size_t index);
    void nameByGroup(const Entry &entry);

    std::vector<Entry> entries_;
    // Fields and row buttons by the name their caption alone gives them.
    QHash<QString, std::vector<size_t>> namesakes_;
    bool english_ = false;
};
