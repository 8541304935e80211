#include "LanguageSwitcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

namespace VEK_SC_Space {

LanguageSwitcher::LanguageSwitcher(QObject* parent)
    : QObject(parent)
{
    applyLocale(current);
}

LanguageSwitcher::~LanguageSwitcher()
{
    removeTranslators();
}

bool LanguageSwitcher::setLanguage(const QString& language)
{
    if (language == current)
        return true;
    if (language != chinese() && language != english())
        return false;

    std::vector<std::unique_ptr<QTranslator>> loaded;
    if (language != chinese()) {
        const QDir folder(QStringLiteral(":/i18n"));
        const QStringList files = folder.entryList({QStringLiteral("*_%1.qm").arg(language)}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            auto translator = std::make_unique<QTranslator>();
            if (translator->load(folder.filePath(file)))
                loaded.push_back(std::move(translator));
        }
        if (loaded.empty())
            return false;
    }

    removeTranslators();
    translators = std::move(loaded);
    for (const auto& translator : translators)
        QCoreApplication::installTranslator(translator.get());
    current = language;
    applyLocale(current);
    emit languageChanged(current);
    return true;
}

QString LanguageSwitcher::language() const
{
    return current;
}

// Dates and numbers in widgets created afterwards follow the language, as on a trader's desktop.
void LanguageSwitcher::applyLocale(const QString& language)
{
    QLocale::setDefault(language == chinese() ? QLocale(QLocale::Chinese, QLocale::China)
                                              : QLocale(QLocale::English, QLocale::UnitedStates));
}

void LanguageSwitcher::removeTranslators()
{
    for (const auto& translator : translators)
        QCoreApplication::removeTranslator(translator.get());
    translators.clear();
}

} // namespace VEK_SC_Space
