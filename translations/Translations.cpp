#include "translations/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

namespace {
// The contexts of Qt's dialogs, widgets and command line help in its catalogue.
constexpr std::string_view kQtInterfaceContexts[] = {"CloseButton",
                                                     "QAbstractSpinBox",
                                                     "QColorDialog",
                                                     "QComboBox",
                                                     "QCommandLineParser",
                                                     "QDialog",
                                                     "QDialogButtonBox",
                                                     "QDirModel",
                                                     "QDockWidget",
                                                     "QErrorMessage",
                                                     "QFileDialog",
                                                     "QFileSystemModel",
                                                     "QFontDialog",
                                                     "QGnomeTheme",
                                                     "QInputDialog",
                                                     "QLineEdit",
                                                     "QMessageBox",
                                                     "QPlatformTheme",
                                                     "QProgressDialog",
                                                     "QScrollBar",
                                                     "QTabBar",
                                                     "QUnicodeControlCharacterMenu",
                                                     "QWhatsThisAction",
                                                     "QWidgetTextControl",
                                                     "QWizard"};

// Qt's catalogue, limited to the texts of its dialogs, widgets and command line help. Its texts of
// system errors (sockets, files) stay English: the tool's messages quote them after their own words,
// and users look them up as they are.
class QtInterfaceTexts final : public QTranslator {
public:
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        if (context == nullptr || std::find(std::begin(kQtInterfaceContexts), std::end(kQtInterfaceContexts),
                                            context) == std::end(kQtInterfaceContexts))
            return QString();
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

// The catalogues of one language, loaded once and kept for the program's life: switching back and
// forth only installs and removes them, and the window can query one that is not installed.
struct Catalogues {
    std::unique_ptr<QTranslator> tool;
    std::unique_ptr<QTranslator> qt; // null when Qt's translations are not installed on the machine
};

std::map<QString, Catalogues> &loadedCatalogues()
{
    static std::map<QString, Catalogues> catalogues;
    return catalogues;
}

QString &installedLanguage()
{
    static QString language;
    return language;
}

QString &titleLanguage()
{
    static QString language;
    return language;
}

template <typename Translator = QTranslator>
std::unique_ptr<QTranslator> load(const QString &fileName, const QString &folder)
{
    std::unique_ptr<QTranslator> translator = std::make_unique<Translator>();
    if (!translator->load(fileName, folder))
        return nullptr;
    return translator;
}

// Null when the tool has no catalogue for language.
const Catalogues *catalogues(const QString &language)
{
    auto &all = loadedCatalogues();
    auto found = all.find(language);
    if (found == all.end()) {
        Catalogues loaded{load(QStringLiteral("qxsetup_") + language, QStringLiteral(":/i18n")),
                          load<QtInterfaceTexts>(QStringLiteral("qtbase_") + language,
                                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))};
        found = all.emplace(language, std::move(loaded)).first;
    }
    return found->second.tool ? &found->second : nullptr;
}

void remove(const QString &language)
{
    if (language.isEmpty())
        return;
    if (const Catalogues *old = catalogues(language)) {
        QCoreApplication::removeTranslator(old->tool.get());
        if (old->qt)
            QCoreApplication::removeTranslator(old->qt.get());
    }
}
} // namespace

namespace Translations {

QString chinese()
{
    return QStringLiteral("zh_CN");
}

bool use(const QString &language)
{
    QString &installed = installedLanguage();
    if (language == installed)
        return true;
    const Catalogues *wanted = language.isEmpty() ? nullptr : catalogues(language);
    if (!language.isEmpty() && wanted == nullptr)
        return false;
    remove(installed);
    installed = language;
    if (wanted != nullptr) {
        if (wanted->qt)
            QCoreApplication::installTranslator(wanted->qt.get());
        QCoreApplication::installTranslator(wanted->tool.get()); // the last installed is asked first
    }
    return true;
}

bool useForTitles(const QString &language)
{
    if (!language.isEmpty() && catalogues(language) == nullptr)
        return false;
    titleLanguage() = language;
    return true;
}

QString textIn(const QString &language, const char *context, const char *sourceText,
               const char *disambiguation)
{
    const Catalogues *wanted = language.isEmpty() ? nullptr : catalogues(language);
    const QString text = wanted ? wanted->tool->translate(context, sourceText, disambiguation) : QString();
    return text.isEmpty() ? QString::fromUtf8(sourceText) : text;
}

QString titleText(const char *context, const char *sourceText, const char *disambiguation)
{
    return textIn(titleLanguage(), context, sourceText, disambiguation);
}

} // namespace Translations
