#pragma once

#include <QObject>
#include <QString>
#include <QTranslator>

#include <memory>
#include <vector>

namespace VEK_SC_Space {

// The pages speak Chinese by themselves; English comes from the translations embedded under
// ":/i18n/": the module's (available once the library is loaded) and the base library's, for
// the code texts of its decoders. A switch applies to pages opened afterwards.
class LanguageSwitcher : public QObject
{
    Q_OBJECT

public:
    explicit LanguageSwitcher(QObject* parent = nullptr);
    ~LanguageSwitcher() override;

    static QString chinese() { return QStringLiteral("zh"); }
    static QString english() { return QStringLiteral("en"); }

    // False when the language has no translation to install; the language is then unchanged.
    bool setLanguage(const QString& language);
    QString language() const;

signals:
    void languageChanged(const QString& language);

private:
    static void applyLocale(const QString& language);
    void removeTranslators();

    QString current = chinese();
    std::vector<std::unique_ptr<QTranslator>> translators;
};

} // namespace VEK_SC_Space
