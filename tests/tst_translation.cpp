// The English translation the plug-in embeds: every text that the module's code and form mark
// for translation has English in its own context, no entry is unfinished, and the pages the
// plug-in's factory builds show no Chinese once it is installed.

#include "ClientConstants.h"
#include "ISubModuleWid.h"
#include "UserData.h"
#include "UserDataManager.h"

#include <QtTest>
#include <QtWidgets>

using namespace VEK_SC_Space;

class tst_Translation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyMarkedTextHasEnglish();
    void pagesShowNoChinese();

private:
    const QRegularExpression han{QStringLiteral("\\p{Han}")};
    QLibrary plugin{QStringLiteral(PLUGIN_PATH)};
    QTranslator english;
    UserData stock{int(AccountKind::Stock)}, credit{int(AccountKind::Credit)};
};

void tst_Translation::initTestCase()
{
    const QString resource = QStringLiteral(":/i18n/SubModule_HistoryRecord_en.qm");
    QVERIFY(!QFile::exists(resource)); // until the plug-in registers its resources
    QVERIFY2(plugin.load(), qPrintable(plugin.errorString()));
    QVERIFY(english.load(resource));
    QCOMPARE(english.language(), QStringLiteral("en"));
    UserDataManager::instance()->userDataMap().insert(7101, &stock);
    UserDataManager::instance()->userDataMap().insert(7102, &credit);
}

// Marked: tr("...") in the context of the class its file is named after, QT_TRANSLATE_NOOP in
// the context it names, the form's strings in the form's. Then one pass over the .ts file.
void tst_Translation::everyMarkedTextHasEnglish()
{
    static const QRegularExpression call(QStringLiteral("\\btr\\(\\s*\"([^\"]+)\"|QT_TRANSLATE_NOOP\\(\\s*\"([^\"]+)\"\\s*,\\s*\"([^\"]+)\""));
    QStringList marked, untranslated, unfinished;
    QDirIterator files(QStringLiteral(MODULE_DIR), {"*.cpp", "*.h", "*.ui"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        for (QXmlStreamReader form(&file); file.fileName().endsWith(QLatin1String(".ui")) && !form.atEnd();) {
            if (form.readNext() == QXmlStreamReader::StartElement && form.name() == QLatin1String("string"))
                marked << QStringLiteral("HistoryRecordWid|") + form.readElementText();
        }
        for (auto matches = call.globalMatch(QString::fromUtf8(file.readAll())); matches.hasNext();) {
            const QRegularExpressionMatch match = matches.next();
            marked << (match.capturedLength(1) ? "VEK_SC_Space::" + files.fileInfo().baseName() + '|' + match.captured(1)
                                               : match.captured(2) + '|' + match.captured(3));
        }
    }
    for (const QString& text : marked) {
        const QString translation = english.translate(qPrintable(text.section('|', 0, 0)), text.section('|', 1).toUtf8().constData());
        if (!text.endsWith('|') && (translation.isEmpty() || translation.contains(han)))
            untranslated << text;
    }
    QFile ts(QStringLiteral(TS_FILE));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    for (QXmlStreamReader xml(&ts); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText();
            if (!type.isEmpty() || text.trimmed().isEmpty() || text.contains(han))
                unfinished << type + ' ' + text;
        }
    }
    QVERIFY(marked.size() > 150);
    QCOMPARE(untranslated, QStringList());
    QCOMPARE(unfinished, QStringList());
}

// Every page as the factory builds it: its title in the tips, its column titles, the form's texts.
void tst_Translation::pagesShowNoChinese()
{
    using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);
    const auto factory = reinterpret_cast<Factory>(plugin.resolve("CreateISubModuleWid_HistoryRecordWid"));
    QVERIFY(factory);
    QCoreApplication::installTranslator(&english);
    const auto uninstall = qScopeGuard([this] { QCoreApplication::removeTranslator(&english); });
    QStringList texts;
    for (int key : {7101, 7102}) {
        for (PageType pageType : PageTypes) {
            const std::unique_ptr<ISubModuleWid> page(factory(key, int(pageType), nullptr));
            QVERIFY(page);
            page->initSubModule();
            texts << page->windowTitle();
            for (const QWidget* widget : page->findChildren<QWidget*>(QRegularExpression(QStringLiteral("historyordertradewid"))))
                texts << widget->property("text").toString() << widget->property("currentText").toString();
            const QAbstractItemModel* columns = page->findChild<QTableView*>()->model();
            for (int column = 0; column < columns->columnCount(); ++column)
                texts << columns->headerData(column, Qt::Horizontal).toString();
        }
    }
    QVERIFY(texts.filter(QRegularExpression(QStringLiteral("^[A-Z]"))).size() > 16 * 15);
    QCOMPARE(texts.filter(han), QStringList());
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
