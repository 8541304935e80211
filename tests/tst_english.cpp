// English pages as a trader sees them: every column title fits its column at the client's font,
// and the code cells (side, status, order type, exchange) come from the decoders in English.

#include "ClientConstants.h"
#include "ColumnSetCatalog.h"
#include "ISubModuleWid.h"
#include "UserDataManager.h"
#include "service/ValueAddedService.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

using namespace VEK_SC_Space;
using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

static const QRegularExpression han(QStringLiteral("\\p{Han}"));
static const QString tableName = QStringLiteral("tableView_historyordertradewid");

class tst_English : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void titleFitsItsColumn_data();
    void titleFitsItsColumn();
    void pageShowsEnglishCodes_data();
    void pageShowsEnglishCodes();

private:
    QTemporaryDir settingsDir; // default columns, whatever the user chose elsewhere
    QLibrary plugin{QStringLiteral(PLUGIN_PATH)};
    Factory factory = nullptr;
    QTranslator module, base;
    ValueAddedService service;
    std::unique_ptr<UserData> accounts[2];
    std::unique_ptr<ISubModuleWid> headerPage; // its header measures the titles
};

void tst_English::initTestCase()
{
    // INI files in the folder on every platform (Windows' native settings: the registry).
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    // The widths are made for the client's 9 pt: X11's default, and what the client pins for
    // its headless demo. The offscreen platform alone starts at 12 pt.
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
    QVERIFY2(plugin.load(), qPrintable(plugin.errorString()));
    factory = reinterpret_cast<Factory>(plugin.resolve("CreateISubModuleWid_HistoryRecordWid"));
    // Both translations, as the client's language switcher installs them.
    QVERIFY(factory && module.load(QStringLiteral(":/i18n/SubModule_HistoryRecord_en.qm")));
    QVERIFY(base.load(QStringLiteral(":/i18n/VE_Base_en.qm")));
    QVERIFY(QCoreApplication::installTranslator(&module) && QCoreApplication::installTranslator(&base));
    service.setReferenceDate(QDate(2024, 3, 15));
    service.setRecordsPerKind(300); // one answer each
    for (AccountKind kind : {AccountKind::Stock, AccountKind::Credit}) {
        auto& account = accounts[int(kind) - 1] = std::make_unique<UserData>(int(kind));
        account->zrvaConnected = account->zrvaLoggedIn = true;
        account->setDefaultInvestorID(QStringLiteral("880012345"));
        account->setService(&service);
        UserDataManager::instance()->userDataMap().insert(7300 + int(kind), account.get());
    }
    headerPage.reset(factory(7300 + int(AccountKind::Stock), int(PageType::Profit), nullptr));
    headerPage->initSubModule();
}

void tst_English::titleFitsItsColumn_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("width");
    for (int i = 0; i < ColumnSetCount; ++i) {
        const std::unique_ptr<TableHeader> set(columnSetCatalog()[i].create());
        for (const ColProperty* column : set->allColumns())
            QTest::addRow("%s %d %s", qPrintable(set->key()), column->id, qPrintable(column->title)) << column->title << column->width;
    }
}

void tst_English::titleFitsItsColumn()
{
    QFETCH(QString, title);
    QFETCH(int, width);
    QVERIFY(!title.contains(han));
    // As the header sizes a section to its contents: its font and style, both margins. No sort
    // arrow: the widths leave no room for one, not even beside the Chinese titles.
    QHeaderView* header = headerPage->findChild<QTableView*>(tableName)->horizontalHeader();
    QStyleOptionHeader option;
    option.initFrom(header);
    option.text = title;
    const int needed = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header).width();
    QVERIFY2(needed <= width, qPrintable(QStringLiteral("needs %1 px of %2").arg(needed).arg(width)));
}

void tst_English::pageShowsEnglishCodes_data()
{
    QTest::addColumn<int>("pageType");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<QStringList>("expected"); // among the cells of the page
    const int orders = int(PageType::Order), trades = int(PageType::Trade);
    const int stock = int(AccountKind::Stock), credit = int(AccountKind::Credit);
    QTest::newRow("stock orders") << orders << stock
                                  << QStringList{"Buy", "Sell", "Filled", "Part cancelled", "Invalid", "Rejected", "Limit", "Limit FOK", "SSE"};
    QTest::newRow("credit orders") << orders << credit
                                   << QStringList{"Mgn buy", "Sell repay", "Short sell", "Cancelled", "Liq. sell", "SZSE"};
    QTest::newRow("stock trades") << trades << stock << QStringList{"Buy", "Sell", "Rev. repo", "SZSE"};
    QTest::newRow("credit trades") << trades << credit << QStringList{"Mgn buy", "Cover", "BSE"};
}

void tst_English::pageShowsEnglishCodes()
{
    QFETCH(int, pageType);
    QFETCH(int, accountType);
    QFETCH(QStringList, expected);
    const std::unique_ptr<ISubModuleWid> page(factory(7300 + accountType, pageType, nullptr));
    page->initSubModule();
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_begdate"))->setDate(QDate(2024, 2, 1));
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_enddate"))->setDate(QDate(2024, 3, 15));
    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    const QAbstractItemModel* model = page->findChild<QTableView*>(tableName)->model();
    QTRY_VERIFY_WITH_TIMEOUT(model->rowCount() >= 100 && !accounts[accountType - 1]->getIsZRVAReqing(), 20000);

    // Security names are the service's data and stay as it sends them.
    const QString names = module.translate("VEK_SC_Space::TableHeader", "证券名称");
    QSet<QString> shown;
    for (int column = 0; column < model->columnCount(); ++column) {
        for (int row = 0; row < model->rowCount() && model->headerData(column, Qt::Horizontal) != names; ++row) {
            const QString text = model->index(row, column).data().toString();
            QVERIFY2(!text.contains(han), qPrintable(QStringLiteral("row %1 column %2: %3").arg(row).arg(column).arg(text)));
            shown.insert(text);
        }
    }
    for (const QString& text : expected)
        QVERIFY2(shown.contains(text), qPrintable(text));
}

QTEST_MAIN(tst_English)
#include "tst_english.moc"
