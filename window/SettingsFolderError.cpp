#include "window/SettingsFolderError.h"

#include "translations/Translations.h"
#include "window/MessageBoxes.h"

#include <QDir>
#include <QLocale>

bool showSettingsFolderError(const QStringList &arguments)
{
    const qsizetype option = arguments.indexOf(QLatin1String(kSettingsFolderErrorOption));
    if (option < 0)
        return false;
    QStringList folders = arguments.value(option + 1).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &folder : folders)
        folder = QStringLiteral("  ") + QDir::toNativeSeparators(folder);
    // No settings file could be read, so the language setting is unknown: the desktop's language decides.
    const bool chinese = QLocale().language() == QLocale::Chinese;
    const QString text = Translations::textIn(
        chinese ? Translations::chinese() : QString(), "SettingsFolderError",
        QT_TRANSLATE_NOOP("SettingsFolderError", "No settings folder could be created, so the "
                                                 "program could not keep its Config.ini and does "
                                                 "not start. Check that one of these folders can "
                                                 "be written:\n"));
    Boxes::error(nullptr, text + folders.join(QLatin1Char('\n')));
    return true;
}
