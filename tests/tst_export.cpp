// Export of a page's table to a CSV file through the page's Export button, with the boxes and
// the save dialog answered: what the file holds, and which boxes the user meets when.

#include "HistoryOrderWid.h"
#include "PageTestSupport.h"
#include "Approval.h"
#include "service/HistoryGenerator.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <cstring>

using namespace PageTest;

namespace {

constexpr int Key = 7101;
QString exportFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出"); }

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// A stock account with an orders page on it, generated orders to answer with, a fresh folder
// to save into and a script for the modals the export opens.
struct ExportFixture
{
    ExportFixture() { page.initSubModule(); }

    void answer(int count, bool isTotalLast)
    {
        query(&page);
        QVector<void*> batch;
        for (int i = 0; i < count; ++i)
            batch.append(generator.makeRecord(HistoryKind::Order, i));
        account.userData.deliverAnswer(HistoryKind::Order, account.userData.lastRequestId(), batch, 0, QString(), isTotalLast);
    }
    void showAll()
    {
        while (modelOf(&page)->rowCount() < recordsOf(&page).size())
            modelOf(&page)->loadNextPage();
    }
    // Presses Export; true once every step of the script ran and no other modal showed.
    bool pressExport()
    {
        page.findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_export"))->click();
        return QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }) && script.done() && script.unanswered == 0;
    }
    // What the export must leave as it was.
    QString state()
    {
        return QStringLiteral("%1 rows, %2 records, last %3, id %4, sent %5, %6")
            .arg(table->model()->rowCount()).arg(recordsOf(&page).size()).arg(isTotalLastOf(&page))
            .arg(requestIdOf(&page)).arg(account.userData.lastRequestId())
            .arg(page.findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips"))->text());
    }

    Account account{Key, 1};
    HistoryWindow window{QDate(2024, 3, 15), 30, 1000};
    HistoryGenerator generator{QStringLiteral("880012345"), 1, window};
    HistoryOrderWid page{Key, 22, nullptr};
    QTableView* table = page.findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid"));
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("table.csv"));
    ModalScript script;
};

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void file_data();
    void file();
    void boxes_data();
    void boxes();
};

void tst_Export::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setOrganizationName(QStringLiteral("tst_export"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_export"));
    TableHeader::clearColumnChoice(QStringLiteral("THStockHistoryOrder"));
}

void tst_Export::cleanup()
{
    QDir().rmdir(exportFolder());     // the empty folder the export made; it never holds a file here
    QTextCodec::setCodecForLocale(nullptr);
}

void tst_Export::file_data()
{
    QTest::addColumn<QString>("approved");
    QTest::addColumn<QString>("sortBy");        // column title; empty: arrival order
    QTest::addColumn<int>("order");
    QTest::addColumn<QByteArray>("codec");      // of the locale; empty: UTF-8
    QTest::addColumn<bool>("otherModel");

    QTest::newRow("orders") << "stock-orders.csv" << QString() << 0 << QByteArray() << false;
    QTest::newRow("by price, descending") << "by-price.csv" << "委托价格" << int(Qt::DescendingOrder) << QByteArray() << false;
    QTest::newRow("by code, ascending") << "by-code.csv" << "证券代码" << int(Qt::AscendingOrder) << QByteArray() << false;
    QTest::newRow("GBK locale") << "stock-orders.csv" << QString() << 0 << QByteArray("GBK") << false;
    QTest::newRow("another model on the table") << "other-model.csv" << QString() << 0 << QByteArray() << true;
}

// The header and the rows in the user's order, a comma after every value; commas, quotes and
// line breaks inside values go out as they stand, in the locale's encoding, without a byte-order
// mark. Whatever model the table shows is what the file holds.
void tst_Export::file()
{
    QFETCH(QString, approved);
    QFETCH(QString, sortBy);
    QFETCH(int, order);
    QFETCH(QByteArray, codec);
    QFETCH(bool, otherModel);

    QTextCodec* locale = codec.isEmpty() ? QTextCodec::codecForName("UTF-8") : QTextCodec::codecForName(codec);
    QVERIFY(locale);
    QTextCodec::setCodecForLocale(locale);
    ExportFixture f;
    f.answer(12, true);
    auto* tricky = static_cast<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField*>(f.account.userData.getHistoryOrderList().at(1));
    std::strcpy(tricky->ShareholderID, "A1,\"2\"\n3");
    std::strcpy(tricky->CustomerID, "客户,甲");
    QVERIFY(f.table->isSortingEnabled());
    for (int column = 0; column < f.table->model()->columnCount(); ++column) {
        if (f.table->model()->headerData(column, Qt::Horizontal).toString() == sortBy)
            f.table->sortByColumn(column, Qt::SortOrder(order));
    }
    QCOMPARE(f.table->horizontalHeader()->sortIndicatorSection() >= 0, !sortBy.isEmpty());
    QStandardItemModel other(3, 2);
    other.setHorizontalHeaderLabels({QStringLiteral("甲"), QStringLiteral("乙")});
    for (int cell = 0; cell < 6; ++cell)
        other.setItem(cell / 2, cell % 2, new QStandardItem(QStringLiteral("r%1c%2").arg(cell / 2).arg(cell % 2)));
    if (otherModel)
        f.table->setModel(&other);

    f.script.saveAs(f.path).pressButton(QStringLiteral("确定"));
    QVERIFY(f.pressExport());
    const QByteArray written = readFile(f.path);
    QCOMPARE(written, expectedCsv(f.table->model()));
    const QString text = locale->toUnicode(written);
    QCOMPARE(written == text.toUtf8(), codec.isEmpty());
    QVERIFY(matchesApproved(QStringLiteral("export/") + approved, text.chopped(1).split(QLatin1Char('\n'))));
    f.table->setModel(proxyOf(&f.page));
}

void tst_Export::boxes_data()
{
    QTest::addColumn<int>("received");          // -1: no query
    QTest::addColumn<bool>("isTotalLast");
    QTest::addColumn<bool>("showAll");
    QTest::addColumn<QString>("target");        // under the test's folder unless absolute; "*" first: exists
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<int>("rowsWritten");       // -1: no file

    const QString question = QStringLiteral("历史委托数据导出 | 数据尚未全部加载完成，是否仍要导出？ | 1 | 导 出/取 消 | on top");
    const QString dialog = QStringLiteral("导出至本地文件... | 表格导出/历史委托_<today>.csv | CSV Files (*.csv) | save");
    const QString done = QStringLiteral("导出数据成功 | 历史委托表格导出成功，文件已保存！ | 1 | 确定");
    const QString failed = QStringLiteral("导出失败 | 导出失败，该文件已打开，请关闭文件后重试。 | 3 | 确定");
    const QStringList save{"save", "确定"}, exportAnyway{"导 出", "save", "确定"};
    const QString file = QStringLiteral("table.csv");

    QTest::newRow("before any query") << -1 << true << false << file << save << QStringList{dialog, done} << 0;
    QTest::newRow("empty answer") << 0 << true << true << file << save << QStringList{dialog, done} << 0;
    QTest::newRow("all 250 shown") << 250 << true << true << file << save << QStringList{dialog, done} << 250;
    QTest::newRow("100 of 350, export") << 350 << true << false << file << exportAnyway << QStringList{question, dialog, done} << 100;
    QTest::newRow("100 of 350, more to come, export") << 350 << false << false << file << exportAnyway << QStringList{question, dialog, done} << 100;
    QTest::newRow("100 of 350, cancel") << 350 << true << false << file << QStringList{"取 消"} << QStringList{question} << -1;
    QTest::newRow("100 of 350, box closed") << 350 << true << false << file << QStringList{"close"} << QStringList{question} << -1;
    QTest::newRow("all shown, more to come, export") << 250 << false << true << file << exportAnyway << QStringList{question, dialog, done} << 250;
    QTest::newRow("all shown, more to come, cancel") << 250 << false << true << file << QStringList{"取 消"} << QStringList{question} << -1;
    QTest::newRow("dialog cancelled") << 40 << true << true << file << QStringList{"cancel"} << QStringList{dialog} << -1;
    QTest::newRow("folder missing") << 40 << true << true << "missing/deeper/table.csv" << save << QStringList{dialog, failed} << -1;
    QTest::newRow("not writable") << 40 << true << true << "/proc/export-test.csv" << save << QStringList{dialog, failed} << -1;
    QTest::newRow("longer file saved over") << 40 << true << true << "*again.csv" << QStringList{"save", "Yes", "确定"}
                                            << QStringList{dialog, "another window's box", done} << 40;
}

// The export only reads the table: the rows, the records, the query and the tips stay. The
// folder is made before the dialog opens in it, proposing title_yyyyMMdd.csv.
void tst_Export::boxes()
{
    QFETCH(int, received);
    QFETCH(bool, isTotalLast);
    QFETCH(bool, showAll);
    QFETCH(QString, target);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, seen);
    QFETCH(int, rowsWritten);

    ExportFixture f;
    const bool exists = target.startsWith(QLatin1Char('*'));
    const QString path = QDir(f.files.path()).filePath(target.mid(exists ? 1 : 0));
    if (exists) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(200000, 'x')) == 200000);
    }
    if (received >= 0)
        f.answer(received, isTotalLast);
    if (showAll)
        f.showAll();
    const QString before = f.state();
    const QByteArray table = expectedCsv(f.table->model());
    for (const QString& step : steps) {
        if (step == QLatin1String("save"))
            f.script.saveAs(path);
        else if (step == QLatin1String("close"))
            f.script.closeBox();
        else if (step == QLatin1String("cancel"))
            f.script.cancelDialog();
        else
            f.script.pressButton(step);
    }
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QVERIFY(f.pressExport());

    QStringList shown;
    for (const SeenModal& s : qAsConst(f.script.seen)) {
        if (s.isFileDialog) {
            const QString folder = QDir(s.directory) == QDir(exportFolder()) && s.directoryExisted ? "表格导出" : s.directory;
            shown << QStringLiteral("%1 | %2/%3 | %4%5").arg(s.title, folder, QString(s.fileName).replace(today, "<today>"),
                                                         s.nameFilters.join(';'), s.acceptMode == QFileDialog::AcceptSave ? " | save" : "");
        } else if (s.parent != &f.page) {
            shown << QStringLiteral("another window's box");
        } else {
            shown << QStringLiteral("%1 | %2 | %3 | %4%5").arg(s.title, s.text).arg(s.icon).arg(s.buttons.join('/'),
                                                                s.flags.testFlag(Qt::WindowStaysOnTopHint) ? " | on top" : "");
        }
    }
    QCOMPARE(shown, seen);
    QCOMPARE(f.state(), before);
    QCOMPARE(expectedCsv(f.table->model()), table);
    const QByteArray written = readFile(path);
    QCOMPARE(written, rowsWritten < 0 ? QByteArray("(no file)") : table);
    QCOMPARE(written.count('\n'), rowsWritten + 1);
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
