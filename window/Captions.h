#pragma once

// The caption book: every caption of a window, as English source texts that the Chinese catalogue
// translates. The forms are built in Chinese; apply(true) switches them to English once at first show.
// The book also gives each control its accessible name, so screen readers and tests find it:
// a group box its title, a field or list its label's caption, a button its caption, and a button
// whose caption several buttons share its caption, a blank and the caption of its row's label.

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <vector>

// A caption as the book keeps it: parts, each an English source text the catalogue translates under
// its context, or a text shown as it is.
class ShownText {
public:
    ShownText() = default;
    static ShownText fixed(const QString &text);
    static ShownText translated(const char *context, const char *source,
                                const char *disambiguation = nullptr);

    ShownText operator+(const ShownText &other) const;
    ShownText operator+(const QString &text) const { return *this + fixed(text); }
    // The text for the window's messages rule: Chinese unless english.
    QString in(bool english) const;
    bool isEmpty() const { return parts_.empty(); }

private:
    struct Part {
        const char *context = nullptr;
        const char *source = nullptr; // null: text is shown as it is
        const char *disambiguation = nullptr;
        QString text;
    };
    std::vector<Part> parts_;
};

// A caption that the catalogue translates; lupdate reads it like QCoreApplication::translate().
inline ShownText captionText(const char *context, const char *source, const char *disambiguation = nullptr)
{
    return ShownText::translated(context, source, disambiguation);
}

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
    void addControl(QWidget *control, const ShownText &caption);
    // A button whose caption other buttons share: named caption + " " + the row caption.
    void addRowButton(QWidget *button, const ShownText &caption, const ShownText &rowCaption);
    void addGroup(QGroupBox *group, const ShownText &title);
    // A label and the field or list it names (the label becomes the field's buddy).
    void addField(QLabel *label, QWidget *field, const ShownText &caption);
    // A field with no label of its own, named by a caption (e.g. the console).
    void addNamed(QWidget *field, const ShownText &name);
    // A field whose visible label is shared with others (a column head): a label that shows nothing
    // becomes its buddy and carries the field's own name, since Linux screen readers name a list by
    // its label only.
    void addUnseenLabel(QLabel *label, QWidget *field, const ShownText &name);
    // A control whose name is the text it shows (a status panel): what it is for, as its description.
    void addDescription(QWidget *control, const ShownText &description);
    void addAction(QAction *action, const ShownText &caption);
    void addMenu(QMenu *menu, const ShownText &caption);
    void addTab(QTabWidget *tabs, int index, const ShownText &caption);
    void addWindowTitle(QWidget *window, const ShownText &caption);
    // List items whose texts change with the language (positions stay).
    // The box gets one item per text.
    void addItems(QComboBox *box, const std::vector<ShownText> &items);

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
        ShownText caption;
        ShownText row;
        std::vector<ShownText> items;
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
