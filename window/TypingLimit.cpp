#include "window/TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace {
// QLineEdit's own maxLength: fields without a limit of their own cut only texts beyond it, and so does
// ShowWhole, which keeps a runaway reply from being laid out as one huge line.
constexpr int kQLineEditDefaultLimit = 32767;

// Remembers a field's own typing limit while ShowWhole has raised maxLength above it.
class TypingLimit final : public QObject {
    Q_OBJECT

public:
    explicit TypingLimit(QLineEdit *edit) : QObject(edit), edit_(edit), limit_(edit->maxLength())
    {
        setObjectName(QStringLiteral("typingLimit"));
        connect(edit, &QLineEdit::textChanged, this, &TypingLimit::followText);
    }

    static TypingLimit *of(QLineEdit *edit)
    {
        auto *found = edit->findChild<TypingLimit *>(QString(), Qt::FindDirectChildrenOnly);
        return found ? found : new TypingLimit(edit);
    }

private:
    void followText()
    {
        const int wanted = std::max(limit_, static_cast<int>(edit_->text().size()));
        if (edit_->maxLength() <= wanted)
            return;
        // setMaxLength sets the text again, which moves the cursor to the end; the user keeps editing
        // where they were.
        const int cursor = edit_->cursorPosition();
        edit_->setMaxLength(wanted);
        edit_->setCursorPosition(cursor);
    }

    QLineEdit *const edit_;
    const int limit_;
};
} // namespace

void ShowWhole(QLineEdit *edit, const QString &text)
{
    if (text.size() > edit->maxLength() && edit->maxLength() < kQLineEditDefaultLimit) {
        TypingLimit::of(edit);
        edit->setMaxLength(static_cast<int>(std::min<qsizetype>(text.size(), kQLineEditDefaultLimit)));
    }
    edit->setText(text);
}

#include "TypingLimit.moc"
