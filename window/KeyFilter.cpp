#include "window/KeyFilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}
} // namespace

void KeyFilter::install(QLineEdit *field, KeyFilterKind kind)
{
    if (kind != KeyFilterKind::None)
        field->installEventFilter(new KeyFilter(kind, field));
}

bool KeyFilter::accepts(KeyFilterKind kind, QChar c)
{
    const char16_t u = c.unicode();
    const bool digit = u >= u'0' && u <= u'9';
    switch (kind) {
    case KeyFilterKind::None:
        return true;
    case KeyFilterKind::Digits:
        return digit;
    case KeyFilterKind::Address:
        return digit || u == u'.';
    case KeyFilterKind::HexColon:
        return digit || u == u':' || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
    }
    return false;
}

KeyFilter::KeyFilter(KeyFilterKind kind, QObject *parent) : QObject(parent), kind_(kind)
{
    setObjectName(QStringLiteral("keyFilter"));
}

QString KeyFilter::allowedPart(const QString &text) const
{
    QString kept;
    for (const QChar c : text) {
        if (accepts(kind_, c))
            kept += c;
    }
    return kept;
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        // Keys without a character, control characters (backspace) and shortcuts (Ctrl+V) go through.
        // Ctrl with Alt is AltGr on some keyboards, which types characters.
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        const bool shortcut = (modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier);
        if (shortcut || text.isEmpty() || (text.size() == 1 && isControl(text.front())))
            return false;
        return allowedPart(text) != text;
    }
    if (event->type() == QEvent::InputMethod) {
        // An input method types too: only the accepted characters of what it commits reach the field.
        auto *ime = static_cast<QInputMethodEvent *>(event);
        const QString kept = allowedPart(ime->commitString());
        if (kept != ime->commitString())
            ime->setCommitString(kept, ime->replacementStart(), ime->replacementLength());
        return false;
    }
    return QObject::eventFilter(watched, event);
}
