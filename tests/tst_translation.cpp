// The English translation the plug-in embeds: every text that the module's code and form mark
// for translation has English in its own context, no entry is unfinished, and the pages the
// plug-in's factory builds show no Chinese once it is installed.

#include "ISubModuleWid.h"
#include "UserData.h"
#include "UserDataManager.h"

#include <QtTest>
#include <QtWidgets>

using namespace VEK_SC_Space;

namespace {
const QRegularExpression han(QStringLiteral("\\p{Han}"));
const QString Resource = QStringLiteral(":/i18n/SubModule_HistoryRecord_en.qm");
}

class tst_Translation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyMarkedTextHasEnglish();
    void pageShowsNoChinese_data();
    void pageShowsNoChinese();

private:
    QLibrary plugin{QStringLiteral(PLUGIN_PATH)};
    QTranslator english;
    UserData stock{1}, credit{2};
};

void tst_Translation::initTestCase()
{
    QVERIFY(!QFile::exists(Resource));      // until the plug-in registers its resources
    QVERIFY2(plugin.load(), qPrintable(plugin.errorString()));
    QVERIFY(english.load(Resource));
    QCOMPARE(english.language(), QStringLiteral("en"));
    UserDataManager::instance()->userDataMap().insert(7101, &stock);
    UserDataManager::instance()->userDataMap().insert(7102, &credit);
}

// Marked: tr("...") in the context of the class its file is named after, QT_TRANSLATE_NOOP in
// the context it names, the form's strings in the form's.
void tst_Translation::everyMarkedTextHasEnglish()
{
    QStringList marked;
    static const QRegularExpression call(QStringLiteral("\\btr\\(\\s*\"([^\"]+)\"|QT_TRANSLATE_NOOP\\(\\s*\"([^\"]+)\"\\s*,\\s*\"([^\"]+)\""));
    QDirIterator files(QStringLiteral(MODULE_DIR), {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (file.fileName().endsWith(QLatin1String(".ui"))) {
            for (QXmlStreamReader form(&file); !form.atEnd();) {
                if (form.readNext() == QXmlStreamReader::StartElement && form.name() == QLatin1String("string"))
                    marked << QStringLiteral("HistoryRecordWid|") + form.readElementText();
            }
            continue;
        }
        for (auto matches = call.globalMatch(QString::fromUtf8(file.readAll())); matches.hasNext();) {
            const QRegularExpressionMatch match = matches.next();
            marked << (match.capturedLength(1) ? QStringLiteral("VEK_SC_Space::") + files.fileInfo().baseName() + QLatin1Char('|') + match.captured(1)
                                               : match.captured(2) + QLatin1Char('|') + match.captured(3));
        }
    }
    QStringList untranslated;
    for (const QString& text : marked) {
        const QString translation = english.translate(qPrintable(text.section(QLatin1Char('|'), 0, 0)),
                                                      text.section(QLatin1Char('|'), 1).toUtf8().constData());
        if (!text.endsWith(QLatin1Char('|')) && (translation.isEmpty() || translation.contains(han)))
            untranslated << text;
    }
    QVERIFY(marked.size() > 150);
    QCOMPARE(untranslated, QStringList());

    // The source file: no entry unfinished or obsolete, none left in Chinese.
    QFile ts(QStringLiteral(TS_FILE));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QStringList unfinished;
    QString source;
    for (QXmlStreamReader xml(&ts); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText();
            if (!type.isEmpty() || text.trimmed().isEmpty() || text.contains(han))
                unfinished << source + QLatin1String(" -> ") + type + text;
        }
    }
    QCOMPARE(unfinished, QStringList());
}

void tst_Translation::pageShowsNoChinese_data()
{
    QTest::addColumn<int>("accountKey");
    QTest::addColumn<int>("pageType");
    for (int accountKey : {7101, 7102}) {
        for (int pageType : {22, 23, 51, 52, 53, 54, 55, 56})
            QTest::addRow("page %d, account %d", pageType, accountKey) << accountKey << pageType;
    }
}

// Its title in the tips, its column titles and the form's texts, as the factory builds it.
void tst_Translation::pageShowsNoChinese()
{
    QFETCH(int, accountKey);
    QFETCH(int, pageType);
    using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);
    const auto factory = reinterpret_cast<Factory>(plugin.resolve("CreateISubModuleWid_HistoryRecordWid"));
    QVERIFY(factory);
    QCoreApplication::installTranslator(&english);
    const auto uninstall = qScopeGuard([this] { QCoreApplication::removeTranslator(&english); });
    const std::unique_ptr<ISubModuleWid> page(factory(accountKey, pageType, nullptr));
    QVERIFY(page);
    page->initSubModule();
    QStringList texts{page->windowTitle()};
    for (const QLabel* label : page->findChildren<QLabel*>(QRegularExpression(QStringLiteral("historyordertradewid"))))
        texts << label->text();
    for (const QAbstractButton* button : page->findChildren<QAbstractButton*>(QRegularExpression(QStringLiteral("historyordertradewid"))))
        texts << button->text();
    const auto* sortType = page->findChild<QComboBox*>(QStringLiteral("comboBox_historyordertradewid_sorttype"));
    for (int i = 0; sortType && i < sortType->count(); ++i)
        texts << sortType->itemText(i);
    const QAbstractItemModel* columns = page->findChild<QTableView*>()->model();
    for (int column = 0; column < columns->columnCount(); ++column)
        texts << columns->headerData(column, Qt::Horizontal).toString();
    QVERIFY2(texts.size() > 15 && texts.filter(han).isEmpty(), qPrintable(texts.join(QLatin1String(" | "))));
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
