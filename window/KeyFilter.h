#pragma once

// Key filters of the parameter fields: a typed character outside the field's set never reaches the
// field. Control keys (backspace, Enter, Ctrl shortcuts such as paste) always pass, and text that
// arrives by paste or setText() is not filtered.

#include "protocol/FieldCatalogue.h"

#include <QObject>

class QLineEdit;

using KeyFilterKind = TypingRule;

class KeyFilter final : public QObject {
    Q_OBJECT

public:
    // Installs a filter of the given kind on the field (the field owns it); None installs nothing.
    static void install(QLineEdit *field, KeyFilterKind kind);
    static bool accepts(KeyFilterKind kind, QChar c);

    KeyFilter(KeyFilterKind kind, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString allowedPart(const QString &text) const;
    const KeyFilterKind kind_;
};
