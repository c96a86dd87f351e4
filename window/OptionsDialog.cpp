#include "window/OptionsDialog.h"

#include "window/MessageBoxes.h"
#include "window/TypingLimit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QFont designedFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}

QFont englishFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    return font;
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QLineEdit *makeDigitsEdit(QWidget *parent, const char *name, int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    // The key filter stops typed letters; the validator also stops pasted, dropped and IME text,
    // which would otherwise reach the remote frames as an ID.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}
} // namespace

OptionsDialog::OptionsDialog(LinkRoute &route, AppSettings &settings, bool chinese, QWidget *parent)
    : QDialog(parent), route_(route), settings_(settings), chinese_(chinese)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setModal(true);
    setFont(designedFont());

    targetGroup = new QGroupBox(this);
    targetGroup->setObjectName(QStringLiteral("targetGroup"));
    targetIdEdit = makeDigitsEdit(targetGroup, "targetIdEdit", 11);
    targetZoneEdit = makeDigitsEdit(targetGroup, "targetZoneEdit", 4);
    zoneValidCheck = new QCheckBox(targetGroup);
    zoneValidCheck->setObjectName(QStringLiteral("zoneValidCheck"));
    zoneValidCheck->setLayoutDirection(Qt::RightToLeft); // caption on the left of the box
    auto *targetIdLabel = new QLabel(targetGroup);
    auto *targetZoneLabel = new QLabel(targetGroup);
    auto *targetGrid = new QGridLayout(targetGroup);
    targetGrid->addWidget(targetIdLabel, 0, 0);
    targetGrid->addWidget(targetIdEdit, 0, 1);
    targetGrid->addWidget(targetZoneLabel, 1, 0);
    targetGrid->addWidget(targetZoneEdit, 1, 1);
    targetGrid->addWidget(zoneValidCheck, 2, 0, 1, 2, Qt::AlignLeft);

    localGroup = new QGroupBox(this);
    localGroup->setObjectName(QStringLiteral("localGroup"));
    localIdEdit = makeDigitsEdit(localGroup, "localIdEdit", 11);
    localZoneEdit = makeDigitsEdit(localGroup, "localZoneEdit", 4);
    auto *localIdLabel = new QLabel(localGroup);
    auto *localZoneLabel = new QLabel(localGroup);
    auto *localGrid = new QGridLayout(localGroup);
    localGrid->addWidget(localIdLabel, 0, 0);
    localGrid->addWidget(localIdEdit, 0, 1);
    localGrid->addWidget(localZoneLabel, 1, 0);
    localGrid->addWidget(localZoneEdit, 1, 1);

    showHexCheck = new QCheckBox(this);
    showHexCheck->setObjectName(QStringLiteral("showHexCheck"));

    okButton = new QPushButton(this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto *left = new QVBoxLayout;
    left->addWidget(targetGroup);
    left->addWidget(localGroup);
    left->addWidget(showHexCheck);
    auto *right = new QVBoxLayout;
    right->addWidget(okButton);
    right->addWidget(cancelButton);
    right->addStretch();
    auto *outer = new QHBoxLayout(this);
    outer->addLayout(left);
    outer->addLayout(right);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    captions_.addWindowTitle(this, captionText("OptionsDialog", "Options"));
    captions_.addGroup(targetGroup, captionText("OptionsDialog", "Target GPRS"));
    captions_.addField(targetIdLabel, targetIdEdit, captionText("OptionsDialog", "ID"));
    captions_.addField(targetZoneLabel, targetZoneEdit, captionText("OptionsDialog", "Zone"));
    captions_.addControl(zoneValidCheck, captionText("OptionsDialog", "Zone Enabed"));
    captions_.addGroup(localGroup, captionText("OptionsDialog", "Local ID"));
    captions_.addField(localIdLabel, localIdEdit, captionText("OptionsDialog", "Local ID"));
    captions_.addField(localZoneLabel, localZoneEdit, captionText("OptionsDialog", "Local Zone"));
    captions_.addControl(showHexCheck, captionText("OptionsDialog", "Commands show HEX"));
    captions_.addControl(okButton, captionText("OptionsDialog", "OK"));
    captions_.addControl(cancelButton, captionText("OptionsDialog", "Cancel"));

    const ShownText zoneMessage = captionText("OptionsDialog", "Zone Must be 4 bytes!");
    rules_ = {{{targetIdEdit, 11, captionText("OptionsDialog", "GPRS ID Must be 11 bytes!")},
               {localIdEdit, 11, captionText("OptionsDialog", "Local ID Must be 11 bytes!")},
               {localZoneEdit, 4, zoneMessage},
               {targetZoneEdit, 4, zoneMessage}}};
    for (const LengthRule &rule : rules_)
        rule.edit->installEventFilter(this);

    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    // Nothing is kept between shows: the window's values are the only copy. A saved value longer than its
    // field is shown whole, so that OK refuses it instead of storing a cut one.
    ShowWhole(targetIdEdit, route_.targetId);
    ShowWhole(localIdEdit, route_.localId);
    ShowWhole(localZoneEdit, settings_.localZone);
    ShowWhole(targetZoneEdit, route_.targetZone);
    zoneValidCheck->setChecked(route_.targetZoneValid);
    showHexCheck->setChecked(settings_.showHex);
    const bool english = !chinese_;
    setFont(english ? englishFont() : designedFont());
    captions_.apply(english);
    targetIdEdit->setFocus(Qt::OtherFocusReason);
    closing_ = false;
    QDialog::showEvent(event);
}

void OptionsDialog::done(int result)
{
    // Hiding moves the focus out of the field; that is no reason to complain about its length.
    closing_ = true;
    QDialog::done(result);
}

void OptionsDialog::okClicked()
{
    for (const LengthRule &rule : rules_) {
        if (!leaveCheck(rule))
            return;
    }
    route_.targetId = targetIdEdit->text();
    route_.localId = localIdEdit->text();
    settings_.localZone = localZoneEdit->text();
    route_.targetZone = targetZoneEdit->text();
    route_.targetZoneValid = zoneValidCheck->isChecked();
    settings_.showHex = showHexCheck->isChecked();
    accept();
}

bool OptionsDialog::leaveCheck(const LengthRule &rule)
{
    if (rule.edit->text().size() == rule.length)
        return true;
    // Putting the focus back takes it from whichever field the user went to; that field must not
    // answer with a leave check of its own, or two fields would bounce boxes at each other.
    const QScopedValueRollback<bool> guard(checking_, true);
    Boxes::warning(this, rule.message.in(!chinese_));
    rule.edit->setFocus(Qt::OtherFocusReason);
    return false;
}

bool OptionsDialog::leaveCheckWanted(const QFocusEvent &event) const
{
    if (checking_ || closing_ || !isVisible())
        return false;
    // A box or another window taking the focus, or a context menu, is not the user leaving the field.
    if (event.reason() == Qt::ActiveWindowFocusReason || event.reason() == Qt::PopupFocusReason)
        return false;
    // Qt has already moved the focus when the field hears of it. Cancel must always work, and OK
    // tests all four fields itself, in its own order, so a click on either runs no leave check.
    const QWidget *next = QApplication::focusWidget();
    return next && next->window() == this && next != okButton && next != cancelButton;
}

const OptionsDialog::LengthRule *OptionsDialog::ruleOf(const QObject *edit) const
{
    for (const LengthRule &rule : rules_) {
        if (rule.edit == edit)
            return &rule;
    }
    return nullptr;
}

bool OptionsDialog::eventFilter(QObject *watched, QEvent *event)
{
    const LengthRule *rule = ruleOf(watched);
    if (!rule)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Digits and backspace pass; any other character key becomes no key. Keys without a
        // character (Tab, arrows, Delete, Enter, Escape) keep their usual meaning.
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool foreign =
            std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint() && !isAsciiDigit(c); });
        if (key->key() != Qt::Key_Backspace && foreign)
            return true;
    } else if (event->type() == QEvent::FocusOut) {
        if (leaveCheckWanted(*static_cast<QFocusEvent *>(event)))
            leaveCheck(*rule);
    }
    return QDialog::eventFilter(watched, event);
}
