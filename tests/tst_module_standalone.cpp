// The plug-in built on its own against the installed base library (test module_standalone_build),
// loaded as the client loads it and asked for one page.

#include "ClientConstants.h"
#include "ISubModuleWid.h"
#include "UserData.h"
#include "UserDataManager.h"

#include <QLibrary>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>

using namespace VEK_SC_Space;

class TestModuleStandalone : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void factoryCreatesPage();
};

void TestModuleStandalone::factoryCreatesPage()
{
    using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);
    QLibrary library(QStringLiteral(STANDALONE_PLUGIN_FILE));
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    const auto create = reinterpret_cast<Factory>(library.resolve("CreateISubModuleWid_HistoryRecordWid"));
    QVERIFY(create);

    // The factory refuses unknown keys: a page proves that the plug-in shares our base library.
    UserData account(int(AccountKind::Credit));
    UserDataManager::instance()->userDataMap().insert(4711, &account);
    QWidget host;
    ISubModuleWid* page = create(4711, int(PageType::CreditDebt), &host);
    UserDataManager::instance()->userDataMap().remove(4711);
    QVERIFY(page);
    QCOMPARE(page->metaObject()->className(), "VEK_SC_Space::HistoryCreditDebtWid");
    page->initSubModule();
    const auto* table = page->findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid"));
    QVERIFY(table && table->model());
    QVERIFY(table->model()->columnCount() > 0);
}

QTEST_MAIN(TestModuleStandalone)
#include "tst_module_standalone.moc"
