#include "window/Captions.h"

#include "translations/Translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>

#include <algorithm>

namespace {
// "&&" in a caption shows one ampersand; the accessible name should read the same.
QString spoken(const QString &caption)
{
    QString text = caption;
    text.replace(QLatin1String("&&"), QLatin1String("&"));
    return text;
}

void setCaptionText(QObject *target, const QString &text)
{
    if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(target))
        label->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(target))
        group->setTitle(text);
}
} // namespace

ShownText ShownText::fixed(const QString &text)
{
    ShownText shown;
    shown.parts_.push_back({nullptr, nullptr, nullptr, text});
    return shown;
}

ShownText ShownText::translated(const char *context, const char *source, const char *disambiguation)
{
    ShownText shown;
    shown.parts_.push_back({context, source, disambiguation, {}});
    return shown;
}

ShownText ShownText::operator+(const ShownText &other) const
{
    ShownText joined = *this;
    joined.parts_.insert(joined.parts_.end(), other.parts_.begin(), other.parts_.end());
    return joined;
}

QString ShownText::in(bool english) const
{
    QString text;
    for (const Part &part : parts_) {
        if (part.source == nullptr)
            text += part.text;
        else if (english)
            text += QString::fromUtf8(part.source);
        else
            text +=
                Translations::textIn(Translations::chinese(), part.context, part.source, part.disambiguation);
    }
    return text;
}

void CaptionBook::addControl(QWidget *control, const ShownText &caption)
{
    entries_.push_back({Kind::Control, control, nullptr, 0, caption, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addRowButton(QWidget *button, const ShownText &caption, const ShownText &rowCaption)
{
    entries_.push_back({Kind::RowButton, button, nullptr, 0, caption, rowCaption, {}});
    applyEntry(entries_.back(), english_);
    addTwinCandidate(entries_.size() - 1);
}

void CaptionBook::addGroup(QGroupBox *group, const ShownText &title)
{
    entries_.push_back({Kind::Group, group, nullptr, 0, title, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addField(QLabel *label, QWidget *field, const ShownText &caption)
{
    label->setBuddy(field);
    entries_.push_back({Kind::Field, field, label, 0, caption, {}, {}});
    applyEntry(entries_.back(), english_);
    addTwinCandidate(entries_.size() - 1);
}

void CaptionBook::addNamed(QWidget *field, const ShownText &name)
{
    entries_.push_back({Kind::Named, field, nullptr, 0, name, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addUnseenLabel(QLabel *label, QWidget *field, const ShownText &name)
{
    label->setBuddy(field);
    entries_.push_back({Kind::UnseenLabel, field, label, 0, name, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addDescription(QWidget *control, const ShownText &description)
{
    entries_.push_back({Kind::Description, control, nullptr, 0, description, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addAction(QAction *action, const ShownText &caption)
{
    entries_.push_back({Kind::Action, action, nullptr, 0, caption, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addMenu(QMenu *menu, const ShownText &caption)
{
    entries_.push_back({Kind::Menu, menu, nullptr, 0, caption, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addTab(QTabWidget *tabs, int index, const ShownText &caption)
{
    entries_.push_back({Kind::Tab, tabs->widget(index), tabs, index, caption, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addWindowTitle(QWidget *window, const ShownText &caption)
{
    entries_.push_back({Kind::Title, window, nullptr, 0, caption, {}, {}});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::addItems(QComboBox *box, const std::vector<ShownText> &items)
{
    for (size_t i = 0; i < items.size(); ++i)
        box->addItem(QString());
    entries_.push_back({Kind::Items, box, nullptr, 0, {}, {}, items});
    applyEntry(entries_.back(), english_);
}

void CaptionBook::apply(bool english)
{
    english_ = english;
    for (const Entry &entry : entries_)
        applyEntry(entry, english);
    nameTwinsByGroup();
}

// Rows of different groups can share a label (the AP and the Station group both have "MAC"), which
// would give a screen reader two fields "MAC" and two buttons "读取 MAC". Such twins are told apart by
// their group's title: "AP MAC", "读取 AP MAC". Each entry is looked at once, by a hash of the names
// its caption gives: a page adds hundreds.
void CaptionBook::nameTwinsByGroup()
{
    namesakes_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        addTwinCandidate(i);
}

// Called with the entry's name just applied. Twins are counted by the names the controls have now:
// a name a later entry gave (a row's own name) or an earlier twin naming took out of the count.
void CaptionBook::addTwinCandidate(size_t index)
{
    const Entry &entry = entries_[index];
    if ((entry.kind != Kind::Field && entry.kind != Kind::RowButton) || !entry.target)
        return;
    const QString name = static_cast<QWidget *>(entry.target.data())->accessibleName();
    std::vector<size_t> &same = namesakes_[name];
    same.erase(std::remove_if(same.begin(), same.end(),
                              [&](size_t other) {
                                  const QObject *target = entries_[other].target.data();
                                  return target == nullptr ||
                                         static_cast<const QWidget *>(target)->accessibleName() != name;
                              }),
               same.end());
    same.push_back(index);
    if (same.size() < 2)
        return;
    for (const size_t twin : same)
        nameByGroup(entries_[twin]);
}

void CaptionBook::nameByGroup(const Entry &entry)
{
    if (!entry.target)
        return;
    auto *widget = static_cast<QWidget *>(entry.target.data());
    QWidget *parent = widget->parentWidget();
    while (parent != nullptr && qobject_cast<QGroupBox *>(parent) == nullptr)
        parent = parent->parentWidget();
    if (parent == nullptr)
        return;
    const QString group = spoken(static_cast<QGroupBox *>(parent)->title());
    const QString &text = entry.caption.in(english_);
    widget->setAccessibleName(entry.kind == Kind::Field
                                  ? group + QLatin1Char(' ') + spoken(text)
                                  : spoken(text) + QLatin1Char(' ') + group + QLatin1Char(' ') +
                                        spoken(entry.row.in(english_)));
}

void CaptionBook::applyEntry(const Entry &entry, bool english)
{
    QObject *target = entry.target;
    if (!target)
        return;
    const QString &text = entry.caption.in(english);
    auto *widget = qobject_cast<QWidget *>(target);
    switch (entry.kind) {
    case Kind::Control:
    case Kind::Group:
        setCaptionText(target, text);
        widget->setAccessibleName(spoken(text));
        break;
    case Kind::RowButton:
        setCaptionText(target, text);
        widget->setAccessibleName(spoken(text) + QLatin1Char(' ') + spoken(entry.row.in(english)));
        break;
    case Kind::Field:
        if (auto *label = qobject_cast<QLabel *>(entry.other.data()))
            label->setText(text);
        widget->setAccessibleName(spoken(text));
        break;
    case Kind::Named:
        widget->setAccessibleName(spoken(text));
        break;
    case Kind::UnseenLabel:
        if (auto *label = qobject_cast<QLabel *>(entry.other.data()))
            label->setAccessibleName(spoken(text));
        widget->setAccessibleName(spoken(text));
        break;
    case Kind::Description:
        widget->setAccessibleDescription(spoken(text));
        break;
    case Kind::Action:
        static_cast<QAction *>(target)->setText(text);
        break;
    case Kind::Menu:
        static_cast<QMenu *>(target)->setTitle(text);
        static_cast<QMenu *>(target)->setAccessibleName(spoken(text));
        break;
    case Kind::Tab:
        if (auto *tabs = qobject_cast<QTabWidget *>(entry.other.data()))
            tabs->setTabText(entry.index, text);
        widget->setAccessibleName(spoken(text));
        if (auto *scroll = qobject_cast<QScrollArea *>(widget); scroll && scroll->widget())
            scroll->widget()->setAccessibleName(spoken(text)); // the page inside a scrolling tab
        break;
    case Kind::Title:
        widget->setWindowTitle(text);
        break;
    case Kind::Items: {
        auto *box = static_cast<QComboBox *>(target);
        const QSignalBlocker blocker(box);
        for (size_t i = 0; i < entry.items.size() && int(i) < box->count(); ++i)
            box->setItemText(int(i), entry.items[i].in(english));
        break;
    }
    }
}
