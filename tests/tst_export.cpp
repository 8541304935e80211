// Export of a page's table to a CSV file: when it asks first, what it proposes, what it writes
// and what it shows, driven through the page's Export button with the dialogs answered.

#include "HistoryOrderWid.h"
#include "PageTestSupport.h"
#include "service/HistoryGenerator.h"
#include "service/HistoryWindow.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <cstring>

using namespace PageTest;
namespace ZR = ZRVALUEADDPROAPI;

namespace {

constexpr int Key = 7101;
const QString Title = QStringLiteral("历史委托");
const QString ExportFolderName = QStringLiteral("表格导出");
const QString ConfirmText = QStringLiteral("数据尚未全部加载完成，是否仍要导出？");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A stock account with an orders page on it, and realistic records to answer with.
class ExportFixture
{
public:
    ExportFixture()
        : account(Key, 1)
        , window(QDate(2024, 3, 15), 30, 1000)
        , generator(QStringLiteral("880012345"), 1, window)
        , page(Key, 22, nullptr)
        , table(page.findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid")))
        , exportButton(page.findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_export")))
    {
        page.initSubModule();
    }

    void query() { page.on_pushButton_historyordertradewid_request_clicked(); }

    QVector<void*> answer(int count, bool isTotalLast)
    {
        QVector<void*> batch;
        for (int i = 0; i < count; ++i, ++serial)
            batch.append(generator.makeRecord(HistoryKind::Order, serial % window.recordCount()));
        account.userData.deliverAnswer(HistoryKind::Order, account.userData.lastRequestId(), batch, 0, QString(),
                                       isTotalLast);
        return batch;
    }

    // Every received record shown, as after Load all.
    void showAll()
    {
        while (modelOf(&page)->rowCount() < recordsOf(&page).size())
            modelOf(&page)->loadNextPage();
    }

    int rows() { return proxyOf(&page)->rowCount(); }
    QByteArray expected() { return expectedCsv(table->model()); }

    // Presses Export; a ModalScript armed before answers what opens.
    void pressExport()
    {
        exportButton->click();
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    Account account;
    HistoryWindow window;
    HistoryGenerator generator;
    qint64 serial = 0;
    HistoryOrderWid page;
    QTableView* table;
    QPushButton* exportButton;
};

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void completeTableWithoutAsking_data();
    void completeTableWithoutAsking();
    void missingRowsAskFirst_data();
    void missingRowsAskFirst();
    void rowsInTheUsersOrder_data();
    void rowsInTheUsersOrder();
    void headerLineBeforeAnyQuery();
    void fileThatCannotBeOpened_data();
    void fileThatCannotBeOpened();
    void valuesWrittenAsTheyStand();
    void proposalAndDialog();
    void existingFileTruncated();
    void exportChangesNothingOnThePage();
    void anotherModelOnTheTable();
    void localeEncoding();

private:
    QString exportFolder() const { return QCoreApplication::applicationDirPath() + QLatin1Char('/') + ExportFolderName; }

    std::unique_ptr<QTemporaryDir> files;
    bool folderExisted = false;
};

void tst_Export::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setOrganizationName(QStringLiteral("tst_export"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_export"));
    TableHeader::clearColumnChoice(QStringLiteral("THStockHistoryOrder"));
    folderExisted = QDir(exportFolder()).exists();
}

void tst_Export::cleanupTestCase()
{
    // Only the empty folder the export made; nothing is saved into it here.
    if (!folderExisted)
        QDir().rmdir(exportFolder());
}

void tst_Export::init()
{
    files = std::make_unique<QTemporaryDir>();
    QVERIFY(files->isValid());
}

void tst_Export::cleanup()
{
    QTextCodec::setCodecForLocale(nullptr);
    files.reset();
}

void tst_Export::completeTableWithoutAsking_data()
{
    QTest::addColumn<int>("records");

    QTest::newRow("empty answer") << 0;
    QTest::newRow("one page") << 80;
    QTest::newRow("three pages") << 250;
}

void tst_Export::completeTableWithoutAsking()
{
    QFETCH(int, records);

    ExportFixture f;
    f.query();
    f.answer(records, true);
    f.showAll();
    QCOMPARE(f.rows(), records);

    const QString path = files->filePath(QStringLiteral("complete.csv"));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());
    QCOMPARE(script.unanswered, 0);
    QCOMPARE(script.seen.size(), 2);
    QVERIFY(script.seen.at(0).isFileDialog);

    const SeenModal& done = script.seen.at(1);
    QCOMPARE(done.title, QStringLiteral("导出数据成功"));
    QCOMPARE(done.text, Title + QStringLiteral("表格导出成功，文件已保存！"));
    QCOMPARE(done.icon, QMessageBox::Information);
    QCOMPARE(done.buttons, QStringList{QStringLiteral("确定")});
    QCOMPARE(done.parent, &f.page);
    QVERIFY(done.modal);

    const QByteArray written = readFile(path);
    QCOMPARE(written, f.expected());
    QCOMPARE(written.count('\n'), records + 1);
}

void tst_Export::missingRowsAskFirst_data()
{
    QTest::addColumn<int>("received");
    QTest::addColumn<bool>("isTotalLast");
    QTest::addColumn<bool>("showAll");
    QTest::addColumn<int>("answer");        // 0 export, 1 cancel, 2 close the box
    QTest::addColumn<int>("rowsWritten");   // -1: no file

    QTest::newRow("100 of 350, export") << 350 << true << false << 0 << 100;
    QTest::newRow("100 of 350, cancel") << 350 << true << false << 1 << -1;
    QTest::newRow("100 of 350, box closed") << 350 << true << false << 2 << -1;
    QTest::newRow("all shown, more to come, export") << 250 << false << true << 0 << 250;
    QTest::newRow("all shown, more to come, cancel") << 250 << false << true << 1 << -1;
}

void tst_Export::missingRowsAskFirst()
{
    QFETCH(int, received);
    QFETCH(bool, isTotalLast);
    QFETCH(bool, showAll);
    QFETCH(int, answer);
    QFETCH(int, rowsWritten);

    ExportFixture f;
    f.query();
    f.answer(received, isTotalLast);
    if (showAll)
        f.showAll();
    QCOMPARE(f.rows(), showAll ? received : 100);

    const QString path = files->filePath(QStringLiteral("partial.csv"));
    ModalScript script;
    switch (answer) {
    case 0:
        script.pressButton(QStringLiteral("导 出")).saveAs(path).pressButton(QStringLiteral("确定"));
        break;
    case 1:
        script.pressButton(QStringLiteral("取 消"));
        break;
    case 2:
        script.closeBox();
        break;
    }
    f.pressExport();
    QVERIFY(script.done());
    QCOMPARE(script.unanswered, 0);
    QCOMPARE(script.seen.size(), rowsWritten < 0 ? 1 : 3);

    const SeenModal& ask = script.seen.first();
    QCOMPARE(ask.title, Title + QStringLiteral("数据导出"));
    QCOMPARE(ask.text, ConfirmText);
    QCOMPARE(ask.icon, QMessageBox::Information);
    QVERIFY(ask.flags.testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(ask.buttons, (QStringList{QStringLiteral("导 出"), QStringLiteral("取 消")}));
    QCOMPARE(ask.parent, &f.page);
    QVERIFY(ask.modal);

    if (rowsWritten < 0) {
        QVERIFY(!QFile::exists(path));
        return;
    }
    const QByteArray written = readFile(path);
    QCOMPARE(written.count('\n'), rowsWritten + 1);
    QCOMPARE(written, f.expected());
}

void tst_Export::rowsInTheUsersOrder_data()
{
    QTest::addColumn<QString>("columnTitle");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<bool>("numeric");

    QTest::newRow("price, descending") << QStringLiteral("委托价格") << Qt::DescendingOrder << true;
    QTest::newRow("price, ascending") << QStringLiteral("委托价格") << Qt::AscendingOrder << true;
    QTest::newRow("volume, descending") << QStringLiteral("委托数量") << Qt::DescendingOrder << true;
    QTest::newRow("security code, ascending") << QStringLiteral("证券代码") << Qt::AscendingOrder << false;
}

void tst_Export::rowsInTheUsersOrder()
{
    QFETCH(QString, columnTitle);
    QFETCH(Qt::SortOrder, order);
    QFETCH(bool, numeric);

    ExportFixture f;
    f.query();
    f.answer(230, true);
    f.showAll();
    QVERIFY(f.table->isSortingEnabled());
    const QByteArray arrival = f.expected();

    int column = -1;
    for (int c = 0; c < f.table->model()->columnCount(); ++c) {
        if (f.table->model()->headerData(c, Qt::Horizontal).toString() == columnTitle)
            column = c;
    }
    QVERIFY(column >= 0);
    f.table->sortByColumn(column, order);

    const QString path = files->filePath(QStringLiteral("sorted.csv"));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());

    const QByteArray written = readFile(path);
    QCOMPARE(written, f.expected());
    QVERIFY(written != arrival);

    // The file's own values of the column follow the order.
    const QList<QByteArray> lines = written.split('\n');
    QList<QByteArray> values;
    for (int i = 1; i < lines.size() - 1; ++i)
        values.append(lines.at(i).split(',').at(column));
    QCOMPARE(values.size(), 230);
    for (int i = 1; i < values.size(); ++i) {
        const bool inOrder = numeric
            ? (order == Qt::AscendingOrder ? values.at(i - 1).toDouble() <= values.at(i).toDouble()
                                           : values.at(i - 1).toDouble() >= values.at(i).toDouble())
            : (order == Qt::AscendingOrder ? values.at(i - 1) <= values.at(i) : values.at(i - 1) >= values.at(i));
        QVERIFY2(inOrder, values.at(i - 1) + " then " + values.at(i));
    }
}

// Before any query the table is complete and empty: no question, the header line alone.
void tst_Export::headerLineBeforeAnyQuery()
{
    ExportFixture f;
    QStringList titles;
    for (const ColProperty* column : columnSetOf(&f.page)->getShowColumns())
        titles.append(column->title);
    QVERIFY(!titles.isEmpty());

    const QString path = files->filePath(QStringLiteral("header.csv"));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());
    QCOMPARE(script.seen.size(), 2);
    QCOMPARE(readFile(path), (titles.join(QLatin1Char(',')) + QStringLiteral(",\n")).toUtf8());
}

void tst_Export::fileThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("folder missing") << QStringLiteral("missing/deeper/table.csv");
    QTest::newRow("not writable") << QStringLiteral("/proc/h6-export-test.csv");
}

void tst_Export::fileThatCannotBeOpened()
{
    QFETCH(QString, path);
    if (QDir::isRelativePath(path))
        path = files->filePath(path);

    ExportFixture f;
    f.query();
    f.answer(40, true);
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());
    QCOMPARE(script.seen.size(), 2);

    const SeenModal& failed = script.seen.at(1);
    QCOMPARE(failed.title, QStringLiteral("导出失败"));
    QCOMPARE(failed.text, QStringLiteral("导出失败，该文件已打开，请关闭文件后重试。"));
    QCOMPARE(failed.icon, QMessageBox::Critical);
    QCOMPARE(failed.buttons, QStringList{QStringLiteral("确定")});
    QCOMPARE(failed.parent, &f.page);
    QVERIFY(!QFile::exists(path));
}

// Commas, quotes and line breaks inside values go out as they are; one comma after every value,
// "\n" ends each line, no byte-order mark.
void tst_Export::valuesWrittenAsTheyStand()
{
    ExportFixture f;
    f.query();
    const QVector<void*> batch = f.answer(3, true);
    auto* tricky = static_cast<ZR::CZRVDHistoryOrderEXField*>(batch.at(1));
    const char holder[] = "A1,\"2\"\n3";
    const char customer[] = "客户,甲";
    std::memset(tricky->ShareholderID, 0, sizeof tricky->ShareholderID);
    std::memcpy(tricky->ShareholderID, holder, sizeof holder);
    std::memset(tricky->CustomerID, 0, sizeof tricky->CustomerID);
    std::memcpy(tricky->CustomerID, customer, sizeof customer);
    QCOMPARE(f.rows(), 3);

    const QString path = files->filePath(QStringLiteral("values.csv"));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());

    const QByteArray written = readFile(path);
    QCOMPARE(written, f.expected());
    QVERIFY(!written.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!written.contains('\r'));
    QVERIFY(!written.contains('"' + QByteArray(holder)));
    QVERIFY(written.contains(',' + QByteArray(holder) + ','));
    QVERIFY(written.contains(',' + QByteArray(customer) + ','));

    // Row by row from the column set itself: every value, then a comma.
    TableHeader* columns = columnSetOf(&f.page);
    QByteArray lines;
    for (const ColProperty* column : columns->getShowColumns())
        lines += column->title.toUtf8() + ',';
    lines += '\n';
    for (int row = 0; row < 3; ++row) {
        for (const ColProperty* column : columns->getShowColumns())
            lines += columns->getColumnDisplayText(column->id, recordsOf(&f.page).at(row), &f.account.userData).toUtf8() + ',';
        lines += '\n';
    }
    QCOMPARE(written, lines);
}

// The folder exists when the dialog opens, which proposes title_yyyyMMdd.csv in it; cancelling
// the dialog ends the export without a word.
void tst_Export::proposalAndDialog()
{
    const bool folderRemovable = !QDir(exportFolder()).exists() || QDir().rmdir(exportFolder());
    if (!folderRemovable)
        qWarning("%s holds files; the test cannot see the export create it", qPrintable(exportFolder()));

    ExportFixture f;
    const QString before = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    ModalScript script;
    script.cancelDialog();
    f.pressExport();
    const QString after = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QVERIFY(script.done());
    QCOMPARE(script.unanswered, 0);
    QCOMPARE(script.seen.size(), 1);

    const SeenModal& dialog = script.seen.first();
    QVERIFY(dialog.isFileDialog);
    QCOMPARE(dialog.title, QStringLiteral("导出至本地文件..."));
    QCOMPARE(dialog.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(dialog.nameFilters, QStringList{QStringLiteral("CSV Files (*.csv)")});
    QCOMPARE(dialog.parent, &f.page);
    QCOMPARE(QDir(dialog.directory), QDir(exportFolder()));
    QVERIFY(dialog.directoryExisted);
    QVERIFY2(dialog.fileName == Title + QLatin1Char('_') + before + QStringLiteral(".csv")
                 || dialog.fileName == Title + QLatin1Char('_') + after + QStringLiteral(".csv"),
             qPrintable(dialog.fileName));
    QVERIFY(QDir(exportFolder()).exists());
    QVERIFY(!QFile::exists(exportFolder() + QLatin1Char('/') + dialog.fileName));
}

// Saving over a longer file leaves exactly the export in it.
void tst_Export::existingFileTruncated()
{
    ExportFixture f;
    f.query();
    f.answer(20, true);
    const QString path = files->filePath(QStringLiteral("again.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200000, 'x'));
    }

    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("Yes")).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());
    QCOMPARE(script.seen.size(), 3);
    QCOMPARE(readFile(path), f.expected());
}

// The export reads the table only: rows, records, the query state and the tips stay.
void tst_Export::exportChangesNothingOnThePage()
{
    ExportFixture f;
    f.query();
    f.answer(350, false);
    QCOMPARE(f.rows(), 100);
    const int requestsBefore = f.account.userData.lastRequestId();
    const int requestId = requestIdOf(&f.page);
    auto* tips = f.page.findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips"));
    const QString tipsBefore = tips->text();
    const QByteArray tableBefore = f.expected();

    const QString path = files->filePath(QStringLiteral("state.csv"));
    ModalScript script;
    script.pressButton(QStringLiteral("导 出")).saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());

    QCOMPARE(f.rows(), 100);
    QCOMPARE(recordsOf(&f.page).size(), 350);
    QVERIFY(!isTotalLastOf(&f.page));
    QCOMPARE(requestIdOf(&f.page), requestId);
    QCOMPARE(f.account.userData.lastRequestId(), requestsBefore);
    QCOMPARE(tips->text(), tipsBefore);
    QCOMPARE(f.expected(), tableBefore);
    QCOMPARE(readFile(path), tableBefore);
}

// Whatever model the table shows is what the file holds.
void tst_Export::anotherModelOnTheTable()
{
    ExportFixture f;
    QStandardItemModel other(3, 2);
    other.setHorizontalHeaderLabels({QStringLiteral("甲"), QStringLiteral("乙")});
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column)
            other.setItem(row, column, new QStandardItem(QStringLiteral("r%1c%2").arg(row).arg(column)));
    }
    f.table->setModel(&other);

    const QString path = files->filePath(QStringLiteral("other.csv"));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());
    QCOMPARE(readFile(path), QByteArray("甲,乙,\nr0c0,r0c1,\nr1c0,r1c1,\nr2c0,r2c1,\n"));
    f.table->setModel(proxyOf(&f.page));
}

// The text goes out in the locale's encoding, as a text stream writes it.
void tst_Export::localeEncoding()
{
    QTextCodec* gb18030 = QTextCodec::codecForName("GB18030");
    if (!gb18030)
        QSKIP("this Qt has no GB18030 codec");
    QTextCodec::setCodecForLocale(gb18030);
    // File names go through the locale's codec too: the folder is made under its GB18030 name.
    const bool folderExisted = QDir(exportFolder()).exists();
    auto removeFolder = qScopeGuard([&] {
        if (!folderExisted)
            QDir().rmdir(exportFolder());
    });

    ExportFixture f;
    f.query();
    f.answer(50, true);
    const QString path = files->filePath(QStringLiteral("gb18030.csv"));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    f.pressExport();
    QVERIFY(script.done());

    const QByteArray written = readFile(path);
    QCOMPARE(written, f.expected());
    QVERIFY(written.startsWith(gb18030->fromUnicode(f.table->model()->headerData(0, Qt::Horizontal).toString())));
    QVERIFY(written != gb18030->toUnicode(written).toUtf8());
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
