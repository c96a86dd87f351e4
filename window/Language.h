#pragma once

// The window's language rule. Messages, status texts and console lines are Chinese for "CN" exactly
// and English otherwise; the title and the serial dialog are English for "EN" exactly.

#include <QString>

inline bool ChineseLanguage(const QString &setting)
{
    return setting == QLatin1String("CN");
}

inline bool EnglishTitles(const QString &setting)
{
    return setting == QLatin1String("EN");
}
