#pragma once

// The tool's texts are English in the code (tr(), QCoreApplication::translate()); the catalogues
// built from translations/qxsetup_<language>.ts give them in other languages. Each binary carries
// its catalogues; Qt's own (dialog buttons, file dialogs, command line help) come from Qt's
// translations folder. QtCore only: the window and qxctl share it.

#include <QString>

namespace Translations {

// The language suffix of the Chinese catalogues.
QString chinese();

// Installs the tool's catalogue for language ("zh_CN") and Qt's own for it; an empty language
// removes both, so the English of the code shows. Installing sends every widget a LanguageChange
// event. False when the tool has no catalogue for language (nothing is installed then).
bool use(const QString &language);

// The language of the texts under a rule of their own (the window's title and serial dialog are
// English only for "EN"), kept apart from the installed one; empty for the English of the code.
// False when the tool has no catalogue for language.
bool useForTitles(const QString &language);
// A text in language ("zh_CN"), whether or not that language is installed; the source text where the
// catalogue has none.
QString textIn(const QString &language, const char *context, const char *sourceText,
               const char *disambiguation = nullptr);
// A text under that rule. lupdate reads its calls as QCoreApplication::translate's (context first),
// so the catalogue holds these texts like every other.
QString titleText(const char *context, const char *sourceText, const char *disambiguation = nullptr);

} // namespace Translations
