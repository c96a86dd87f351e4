#pragma once

// OptionsDialog: the modal dialog for the Internet-link addressing (target and local ID and zone) and
// the hex display switch of the console. It edits the window's route and settings directly: every show loads
// them, and only OK with four fields of the right length stores them. Config.ini is written at exit by the
// main window, not here.

#include "links/LinkSender.h"
#include "window/AppSettings.h"
#include "window/Captions.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QFocusEvent;
class QGroupBox;
class QLineEdit;
class QPushButton;

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(LinkRoute &route, AppSettings &settings, bool chinese, QWidget *parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Tests find these by objectName, users by their accessible names.
    QGroupBox *targetGroup = nullptr;
    QLineEdit *targetIdEdit = nullptr;
    QLineEdit *targetZoneEdit = nullptr;
    QCheckBox *zoneValidCheck = nullptr;
    QGroupBox *localGroup = nullptr;
    QLineEdit *localIdEdit = nullptr;
    QLineEdit *localZoneEdit = nullptr;
    QCheckBox *showHexCheck = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

    // One field with its exact length and the message its leave check shows.
    struct LengthRule {
        QLineEdit *edit;
        int length;
        ShownText message;
    };

    void okClicked();
    bool leaveCheck(const LengthRule &rule);
    bool leaveCheckWanted(const QFocusEvent &event) const;
    const LengthRule *ruleOf(const QObject *edit) const;

    LinkRoute &route_;
    AppSettings &settings_;
    const bool chinese_;
    CaptionBook captions_;
    std::array<LengthRule, 4> rules_{}; // in the order OK tests them
    bool checking_ = false;             // a leave check is showing its box or moving the focus back
    bool closing_ = false;              // OK or Cancel is hiding the dialog
};
