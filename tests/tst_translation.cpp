// The module's English translation as the plug-in embeds it: every page title, column title,
// fixed cell text and message translates in the context that the code looks it up in, and the
// pages built by the plug-in's factory come out in English once the translation is installed.

#include "HistoryCapitalTableHeader.h"
#include "HistoryCreditDebtTableHeader.h"
#include "HistoryDeliveryTableHeader.h"
#include "HistoryFundDetailTableHeader.h"
#include "HistoryOrderTableHeader.h"
#include "HistoryPositionTableHeader.h"
#include "HistoryProfitTableHeader.h"
#include "HistoryTradeTableHeader.h"
#include "ISubModuleWid.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "api/ZRVDHistoryFields.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QSet>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>
#include <vector>

using namespace VEK_SC_Space;
using namespace ZRVALUEADDPROAPI;

namespace {

using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

const char FactoryName[] = "CreateISubModuleWid_HistoryRecordWid";
const char TranslationResource[] = ":/i18n/SubModule_HistoryRecord_en.qm";

const char FormContext[] = "HistoryRecordWid";
const char PageContext[] = "VEK_SC_Space::HistoryRecordWid";
const char ColumnContext[] = "VEK_SC_Space::TableHeader";

// A ready page's tips label holds this text followed directly by the page title.
const char TipsPrefix[] = "点击查询获取";

const int pageTypes[] = {22, 23, 51, 52, 53, 54, 55, 56};
const int accountTypes[] = {1, 2};

// Texts that the page frame's code sets: tips, query and export messages, box buttons.
const char* const frameMessages[] = {
    "确定",
    "点击查询获取",
    "增值服务未连接，请稍后重试或重启客户端。",
    "增值服务未登录，请稍后重试或重启客户端。",
    "上次查询正在进行中，请稍后重试。",
    "查询失败",
    "正在加载数据...",
    "查询失败，本地错误号:",
    "所有数据已加载完毕(共",
    "条)",
    "下滑滚动条以显示更多记录(已加载",
    "错误号: ",
    "错误信息: ",
    "查询错误",
    "数据导出",
    "数据尚未全部加载完成，是否仍要导出？",
    "导 出",
    "取 消",
    "表格导出",
    ".csv",
    "导出至本地文件...",
    "CSV Files (*.csv)",
    "导出失败",
    "导出失败，该文件已打开，请关闭文件后重试。",
    "导出数据成功",
    "表格导出成功，文件已保存！",
};

struct Message
{
    QString context;
    QString source;
    QString where;   // for the row name
};

std::vector<std::unique_ptr<TableHeader>> everyColumnSet()
{
    std::vector<std::unique_ptr<TableHeader>> sets;
    sets.emplace_back(new StockHistoryOrderTableHeader);
    sets.emplace_back(new CreditHistoryOrderTableHeader);
    sets.emplace_back(new StockHistoryTradeTableHeader);
    sets.emplace_back(new CreditHistoryTradeTableHeader);
    sets.emplace_back(new StockHistoryDeliveryTableHeader);
    sets.emplace_back(new CreditHistoryDeliveryTableHeader);
    sets.emplace_back(new CreditHistoryCreditDebtTableHeader);
    sets.emplace_back(new StockHistoryCapitalTableHeader);
    sets.emplace_back(new CreditHistoryCapitalTableHeader);
    sets.emplace_back(new StockHistoryFundDetailTableHeader);
    sets.emplace_back(new CreditHistoryFundDetailTableHeader);
    sets.emplace_back(new StockHistoryPositionTableHeader);
    sets.emplace_back(new CreditHistoryPositionTableHeader);
    sets.emplace_back(new StockHistoryProfitTableHeader);
    sets.emplace_back(new CreditHistoryProfitTableHeader);
    return sets;
}

// The texts the margin-debt set shows for business codes: every code that yields a text.
QList<Message> debtCellTexts()
{
    CreditHistoryCreditDebtTableHeader set;
    QList<Message> texts;
    QSet<QString> seen;
    const auto collect = [&](int column, const char* field, auto assign) {
        for (int code = -8; code <= 256; ++code) {
            CZRVDCreditHistoryDebtInfoField record{};
            assign(record, code);
            const QString text = set.getColumnDisplayText(column, std::any(&record), nullptr);
            if (!text.isEmpty() && !seen.contains(text)) {
                seen.insert(text);
                texts.append({QLatin1String(ColumnContext), text, QStringLiteral("%1 %2").arg(QLatin1String(field)).arg(code)});
            }
        }
    };
    collect(4, "EntrustType", [](CZRVDCreditHistoryDebtInfoField& r, int code) { r.EntrustType = code; });
    collect(5, "DebtStatus", [](CZRVDCreditHistoryDebtInfoField& r, int code) { r.DebtStatus = code; });
    return texts;
}

bool hasHanCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Han)
            return true;
    }
    return false;
}

// What a page built by the factory shows: its meta-object class (the context of its title),
// the tips label, the column titles and the texts of the shared form.
struct PageView
{
    QString className;
    QString tips;
    QStringList columnTitles;
    QStringList formTexts;
};

PageView viewPage(Factory factory, int accountKey, int pageType)
{
    PageView view;
    const std::unique_ptr<ISubModuleWid> page(factory(accountKey, pageType, nullptr));
    if (!page)
        return view;
    view.formTexts << page->windowTitle();
    // Only the form's own widgets: the date edits' calendars bring texts of Qt's.
    const QString formWidget = QStringLiteral("historyordertradewid");
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (label->objectName().contains(formWidget) && !label->text().isEmpty())
            view.formTexts << label->text();
    }
    for (const QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (button->objectName().contains(formWidget))
            view.formTexts << button->text();
    }
    for (const QComboBox* box : page->findChildren<QComboBox*>()) {
        for (int i = 0; box->objectName().contains(formWidget) && i < box->count(); ++i)
            view.formTexts << box->itemText(i);
    }

    page->initSubModule();
    view.className = QLatin1String(page->metaObject()->className());
    if (const auto* tips = page->findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips")))
        view.tips = tips->text();
    const auto* table = page->findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid"));
    for (int column = 0; table && table->model() && column < table->model()->columnCount(); ++column)
        view.columnTitles << table->model()->headerData(column, Qt::Horizontal).toString();
    return view;
}

} // namespace

class tst_Translation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void embeddedTranslationIsTheBuiltOne();
    void tsFileIsFinished();
    void tsFileHoldsTheModuleContexts();
    void textTranslatesInItsContext_data();
    void textTranslatesInItsContext();
    void pageSpeaksEnglish_data();
    void pageSpeaksEnglish();

private:
    int accountKey(int accountType) const { return 7100 + accountType; }
    QList<Message> moduleTexts();

    QTemporaryDir settingsDir;
    QLibrary plugin;
    Factory factory = nullptr;
    QTranslator translator;
    std::vector<std::unique_ptr<UserData>> accounts;
};

void tst_Translation::initTestCase()
{
    // Pages show the default columns: no column choices from elsewhere.
    QVERIFY(settingsDir.isValid());
    QCoreApplication::setOrganizationName(QStringLiteral("tst_translation"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    // Loading the plug-in registers its resources, the translation among them.
    QVERIFY(!QFile::exists(QLatin1String(TranslationResource)));
    plugin.setFileName(QStringLiteral(PLUGIN_PATH));
    QVERIFY2(plugin.load(), qPrintable(plugin.errorString()));
    factory = reinterpret_cast<Factory>(plugin.resolve(FactoryName));
    QVERIFY(factory);
    QVERIFY(translator.load(QLatin1String(TranslationResource)));
    QCOMPARE(translator.language(), QStringLiteral("en"));

    for (int accountType : accountTypes) {
        accounts.push_back(std::make_unique<UserData>(accountType));
        UserDataManager::instance()->userDataMap().insert(accountKey(accountType), accounts.back().get());
    }
}

void tst_Translation::cleanupTestCase()
{
    for (int accountType : accountTypes)
        UserDataManager::instance()->userDataMap().remove(accountKey(accountType));
    accounts.clear();
}

void tst_Translation::embeddedTranslationIsTheBuiltOne()
{
    QFile embedded{QString::fromLatin1(TranslationResource)};
    QFile built(QStringLiteral(QM_FILE));
    QVERIFY(embedded.open(QIODevice::ReadOnly));
    QVERIFY2(built.open(QIODevice::ReadOnly), qPrintable(built.fileName()));
    QVERIFY(embedded.size() > 0);
    QVERIFY(embedded.readAll() == built.readAll());
}

void tst_Translation::tsFileIsFinished()
{
    QFile file(QStringLiteral(TS_FILE));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    QSet<QString> seen;
    int messages = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("TS")) {
            QCOMPARE(xml.attributes().value(QLatin1String("language")).toString(), QStringLiteral("en"));
            QCOMPARE(xml.attributes().value(QLatin1String("sourcelanguage")).toString(), QStringLiteral("zh_CN"));
        } else if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString where = context + QLatin1String(": ") + source;
            const QStringRef type = xml.attributes().value(QLatin1String("type"));
            QVERIFY2(type.isEmpty(), qPrintable(where + QLatin1String(" is ") + type.toString()));
            const QString translation = xml.readElementText();
            QVERIFY2(!translation.trimmed().isEmpty(), qPrintable(where));
            QVERIFY2(!hasHanCharacter(translation), qPrintable(where + QLatin1String(" -> ") + translation));
            QVERIFY2(!seen.contains(where), qPrintable(where + QLatin1String(" twice")));
            seen.insert(where);
            ++messages;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(messages > 0);
}

void tst_Translation::tsFileHoldsTheModuleContexts()
{
    // The form, the frame's code, the column sets and one context per page class; a text filed
    // anywhere else (a class without its meta-object, a misspelt context) would never apply.
    QSet<QString> expected{QLatin1String(FormContext), QLatin1String(PageContext), QLatin1String(ColumnContext)};
    for (int pageType : pageTypes) {
        const PageView view = viewPage(factory, accountKey(2), pageType);
        QVERIFY2(view.className.startsWith(QLatin1String("VEK_SC_Space::")), qPrintable(view.className));
        expected.insert(view.className);
    }
    QCOMPARE(expected.size(), 3 + int(std::size(pageTypes)));

    QFile file(QStringLiteral(TS_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QSet<QString> found;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("name"))
            found.insert(xml.readElementText());
    }
    QStringList missing = (expected - found).values();
    QStringList unexpected = (found - expected).values();
    missing.sort();
    unexpected.sort();
    QCOMPARE(missing, QStringList());
    QCOMPARE(unexpected, QStringList());
}

QList<Message> tst_Translation::moduleTexts()
{
    QList<Message> texts;
    // Every registered column of the fifteen sets, as the sets themselves title them.
    for (const auto& set : everyColumnSet()) {
        for (const ColProperty* column : set->allColumns())
            texts.append({QLatin1String(ColumnContext), column->title, QStringLiteral("%1 %2").arg(set->key()).arg(column->id)});
    }
    texts += debtCellTexts();

    // Page titles and the form, from the pages the factory builds.
    for (int pageType : pageTypes) {
        const PageView view = viewPage(factory, accountKey(2), pageType);
        // A tips label without the prefix gives an empty title, which its row rejects.
        const QString prefix = QString::fromUtf8(TipsPrefix);
        const QString title = view.tips.startsWith(prefix) ? view.tips.mid(prefix.size()) : QString();
        texts.append({view.className, title, QStringLiteral("title %1").arg(pageType)});
        if (pageType == pageTypes[0]) {
            for (const QString& text : view.formTexts)
                texts.append({QLatin1String(FormContext), text, QStringLiteral("form")});
        }
    }
    for (const char* message : frameMessages)
        texts.append({QLatin1String(PageContext), QString::fromUtf8(message), QStringLiteral("frame")});
    return texts;
}

void tst_Translation::textTranslatesInItsContext_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    for (const Message& text : moduleTexts()) {
        const QString name = text.context.section(QLatin1String("::"), -1) + QLatin1Char(' ') + text.where
            + QLatin1Char(' ') + text.source;
        QTest::newRow(qPrintable(name)) << text.context << text.source;
    }
}

void tst_Translation::textTranslatesInItsContext()
{
    QFETCH(QString, context);
    QFETCH(QString, source);

    QVERIFY(!source.isEmpty());
    const QString translation = translator.translate(qPrintable(context), source.toUtf8().constData());
    QVERIFY2(!translation.isEmpty(), "no translation in this context");
    QVERIFY2(!hasHanCharacter(translation), qPrintable(translation));
}

void tst_Translation::pageSpeaksEnglish_data()
{
    QTest::addColumn<int>("pageType");
    QTest::addColumn<int>("accountType");
    for (int accountType : accountTypes) {
        for (int pageType : pageTypes)
            QTest::addRow("page %d, account type %d", pageType, accountType) << pageType << accountType;
    }
}

void tst_Translation::pageSpeaksEnglish()
{
    QFETCH(int, pageType);
    QFETCH(int, accountType);

    // The page as the module writes it, then with the translation installed.
    const PageView chinese = viewPage(factory, accountKey(accountType), pageType);
    QVERIFY(!chinese.columnTitles.isEmpty());
    QVERIFY(chinese.tips.startsWith(QString::fromUtf8(TipsPrefix)));
    QCoreApplication::installTranslator(&translator);
    const PageView english = viewPage(factory, accountKey(accountType), pageType);
    QCoreApplication::removeTranslator(&translator);

    const auto translated = [this](const QString& context, const QString& source) {
        return translator.translate(qPrintable(context), source.toUtf8().constData());
    };
    const QString title = chinese.tips.mid(QString::fromUtf8(TipsPrefix).size());
    QCOMPARE(english.tips, translated(QLatin1String(PageContext), QString::fromUtf8(TipsPrefix))
                               + translated(chinese.className, title));

    QCOMPARE(english.columnTitles.size(), chinese.columnTitles.size());
    for (int column = 0; column < chinese.columnTitles.size(); ++column)
        QCOMPARE(english.columnTitles.at(column), translated(QLatin1String(ColumnContext), chinese.columnTitles.at(column)));

    QCOMPARE(english.formTexts.size(), chinese.formTexts.size());
    for (int i = 0; i < chinese.formTexts.size(); ++i)
        QCOMPARE(english.formTexts.at(i), translated(QLatin1String(FormContext), chinese.formTexts.at(i)));
}

QTEST_MAIN(tst_Translation)
#include "tst_translation.moc"
