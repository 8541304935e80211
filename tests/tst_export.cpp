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
const QString Ok = QStringLiteral("确定");

QString exportFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出"); }

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A message box as one line to compare: title, text, icon, buttons, parent and modality.
QString box(const QString& title, const QString& text, QMessageBox::Icon icon, const QStringList& buttons,
            const QWidget* parent, bool modal = true)
{
    return QStringList{title, text, QString::number(icon), buttons.join('/'), QString::number(quintptr(parent), 16),
                       modal ? "modal" : "modeless"}.join(" | ");
}
QString box(const SeenModal& seen) { return box(seen.title, seen.text, seen.icon, seen.buttons, seen.parent, seen.modal); }

// A stock account with an orders page on it, realistic records to answer with, a fresh folder
// to save into and a script for the modals the export opens.
class ExportFixture
{
public:
    ExportFixture()
        : account(Key, 1)
        , window(QDate(2024, 3, 15), 30, 1000)
        , generator(QStringLiteral("880012345"), 1, window)
        , page(Key, 22, nullptr)
        , table(page.findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid")))
    {
        page.initSubModule();
    }

    QVector<void*> query(int count, bool isTotalLast = true)
    {
        page.on_pushButton_historyordertradewid_request_clicked();
        QVector<void*> batch;
        for (int i = 0; i < count; ++i)
            batch.append(generator.makeRecord(HistoryKind::Order, i % window.recordCount()));
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

    // Presses Export; true once every step of the script ran and no other modal showed.
    bool pressExport()
    {
        page.findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_export"))->click();
        return QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }) && script.done()
            && script.unanswered == 0;
    }
    bool saveAs(const QString& to)
    {
        script.saveAs(to).pressButton(Ok);
        return pressExport();
    }

    Account account;
    HistoryWindow window;
    HistoryGenerator generator;
    HistoryOrderWid page;
    QTableView* table;
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("table.csv"));
    ModalScript script;
};

enum Answer { NoQuestion, Export, Cancel, CloseBox };

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void whenItAsks_data();
    void whenItAsks();
    void rowsInTheUsersOrder_data();
    void rowsInTheUsersOrder();
    void targetFile_data();
    void targetFile();
    void valuesWrittenAsTheyStand();
    void proposalAndDialog();
    void anotherModelOnTheTable();
    void localeEncoding();

private:
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

void tst_Export::cleanup()
{
    QTextCodec::setCodecForLocale(nullptr);
}

void tst_Export::whenItAsks_data()
{
    QTest::addColumn<int>("received");      // -1: no query
    QTest::addColumn<bool>("isTotalLast");
    QTest::addColumn<bool>("showAll");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsWritten");   // -1: no file

    QTest::newRow("before any query") << -1 << true << false << int(NoQuestion) << 0;
    QTest::newRow("empty answer") << 0 << true << true << int(NoQuestion) << 0;
    QTest::newRow("one page") << 80 << true << true << int(NoQuestion) << 80;
    QTest::newRow("three pages") << 250 << true << true << int(NoQuestion) << 250;
    QTest::newRow("100 of 350, export") << 350 << true << false << int(Export) << 100;
    QTest::newRow("100 of 350, more to come, export") << 350 << false << false << int(Export) << 100;
    QTest::newRow("100 of 350, cancel") << 350 << true << false << int(Cancel) << -1;
    QTest::newRow("100 of 350, box closed") << 350 << true << false << int(CloseBox) << -1;
    QTest::newRow("all shown, more to come, export") << 250 << false << true << int(Export) << 250;
    QTest::newRow("all shown, more to come, cancel") << 250 << false << true << int(Cancel) << -1;
}

// The export reads the table only: rows, records, the query state and the tips stay.
void tst_Export::whenItAsks()
{
    QFETCH(int, received);
    QFETCH(bool, isTotalLast);
    QFETCH(bool, showAll);
    QFETCH(int, answer);
    QFETCH(int, rowsWritten);

    ExportFixture f;
    if (received >= 0)
        f.query(received, isTotalLast);
    if (showAll)
        f.showAll();
    const int shown = showAll ? received : qBound(0, received, 100);
    QCOMPARE(f.rows(), shown);
    const int requestId = requestIdOf(&f.page);
    const int requestsSent = f.account.userData.lastRequestId();
    auto* tips = f.page.findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips"));
    const QString tipsBefore = tips->text();
    const QByteArray tableBefore = f.expected();

    if (answer == Export)
        f.script.pressButton(QStringLiteral("导 出")).saveAs(f.path).pressButton(Ok);
    else if (answer == Cancel)
        f.script.pressButton(QStringLiteral("取 消"));
    else if (answer == CloseBox)
        f.script.closeBox();
    else
        f.script.saveAs(f.path).pressButton(Ok);
    QVERIFY(f.pressExport());
    const QList<SeenModal>& seen = f.script.seen;
    QCOMPARE(seen.size(), (rowsWritten < 0 ? 0 : 2) + (answer == NoQuestion ? 0 : 1));

    if (answer != NoQuestion) {
        QCOMPARE(box(seen.first()), box(Title + QStringLiteral("数据导出"), QStringLiteral("数据尚未全部加载完成，是否仍要导出？"),
                                        QMessageBox::Information, {QStringLiteral("导 出"), QStringLiteral("取 消")}, &f.page));
        QVERIFY(seen.first().flags.testFlag(Qt::WindowStaysOnTopHint));
    }
    if (rowsWritten < 0) {
        QVERIFY(!QFile::exists(f.path));
    } else {
        QVERIFY(seen.at(seen.size() - 2).isFileDialog);
        QCOMPARE(box(seen.last()), box(QStringLiteral("导出数据成功"), Title + QStringLiteral("表格导出成功，文件已保存！"),
                                       QMessageBox::Information, {Ok}, &f.page));
        const QByteArray written = readFile(f.path);
        QCOMPARE(written.count('\n'), rowsWritten + 1);
        QCOMPARE(written, tableBefore);
    }

    QCOMPARE(f.rows(), shown);
    QCOMPARE(f.expected(), tableBefore);
    QCOMPARE(recordsOf(&f.page).size(), qMax(received, 0));
    QCOMPARE(isTotalLastOf(&f.page), isTotalLast);
    QCOMPARE(requestIdOf(&f.page), requestId);
    QCOMPARE(f.account.userData.lastRequestId(), requestsSent);
    QCOMPARE(tips->text(), tipsBefore);
}

void tst_Export::rowsInTheUsersOrder_data()
{
    QTest::addColumn<QString>("columnTitle");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<bool>("numeric");

    QTest::newRow("price, descending") << QStringLiteral("委托价格") << Qt::DescendingOrder << true;
    QTest::newRow("price, ascending") << QStringLiteral("委托价格") << Qt::AscendingOrder << true;
    QTest::newRow("security code, ascending") << QStringLiteral("证券代码") << Qt::AscendingOrder << false;
}

void tst_Export::rowsInTheUsersOrder()
{
    QFETCH(QString, columnTitle);
    QFETCH(Qt::SortOrder, order);
    QFETCH(bool, numeric);

    ExportFixture f;
    f.query(230);
    f.showAll();
    QVERIFY(f.table->isSortingEnabled());
    const QByteArray arrival = f.expected();
    int column = f.table->model()->columnCount() - 1;
    while (column >= 0 && f.table->model()->headerData(column, Qt::Horizontal).toString() != columnTitle)
        --column;
    QVERIFY(column >= 0);
    f.table->sortByColumn(column, order);

    QVERIFY(f.saveAs(f.path));
    const QByteArray written = readFile(f.path);
    QCOMPARE(written, f.expected());
    QVERIFY(written != arrival);

    // The file's own values of the column follow the order.
    const QList<QByteArray> lines = written.split('\n');
    QCOMPARE(lines.size(), 230 + 2);
    for (int i = 2; i < lines.size() - 1; ++i) {
        QByteArray low = lines.at(i - 1).split(',').at(column), high = lines.at(i).split(',').at(column);
        if (order == Qt::DescendingOrder)
            std::swap(low, high);
        QVERIFY2(numeric ? low.toDouble() <= high.toDouble() : low <= high, low + " before " + high);
    }
}

void tst_Export::targetFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");

    QTest::newRow("folder missing") << QStringLiteral("missing/deeper/table.csv") << false;
    QTest::newRow("not writable") << QStringLiteral("/proc/h6-export-test.csv") << false;
    QTest::newRow("longer file saved over") << QStringLiteral("again.csv") << true;
}

// A file that cannot be opened gets the failure box and stays absent; one saved over holds
// exactly the export.
void tst_Export::targetFile()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);

    ExportFixture f;
    if (QDir::isRelativePath(path))
        path = f.files.filePath(path);
    f.query(40);
    QFile old(path);
    if (exists) {
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(200000, 'x'));
        old.close();
    }
    f.script.saveAs(path);
    if (exists)
        f.script.pressButton(QStringLiteral("Yes"));
    f.script.pressButton(Ok);
    QVERIFY(f.pressExport());
    QCOMPARE(f.script.seen.size(), exists ? 3 : 2);
    if (exists) {
        QCOMPARE(readFile(path), f.expected());
        return;
    }
    QCOMPARE(box(f.script.seen.at(1)), box(QStringLiteral("导出失败"), QStringLiteral("导出失败，该文件已打开，请关闭文件后重试。"),
                                           QMessageBox::Critical, {Ok}, &f.page));
    QVERIFY(!QFile::exists(path));
}

// Commas, quotes and line breaks inside values go out as they are; one comma after every value,
// "\n" ends each line, no byte-order mark.
void tst_Export::valuesWrittenAsTheyStand()
{
    ExportFixture f;
    auto* tricky = static_cast<ZR::CZRVDHistoryOrderEXField*>(f.query(3).at(1));
    const char holder[] = "A1,\"2\"\n3";
    const char customer[] = "客户,甲";
    std::memset(tricky->ShareholderID, 0, sizeof tricky->ShareholderID);
    std::memcpy(tricky->ShareholderID, holder, sizeof holder);
    std::memset(tricky->CustomerID, 0, sizeof tricky->CustomerID);
    std::memcpy(tricky->CustomerID, customer, sizeof customer);
    QCOMPARE(f.rows(), 3);

    QVERIFY(f.saveAs(f.path));
    const QByteArray written = readFile(f.path);
    QVERIFY(written.contains(',' + QByteArray(holder) + ','));
    QVERIFY(written.contains(',' + QByteArray(customer) + ','));

    // Row by row from the column set itself: every value, then a comma.
    TableHeader* columns = columnSetOf(&f.page);
    QByteArray lines;
    for (int row = -1; row < 3; ++row) {
        for (const ColProperty* column : columns->getShowColumns()) {
            lines += (row < 0 ? column->title
                              : columns->getColumnDisplayText(column->id, recordsOf(&f.page).at(row), &f.account.userData))
                         .toUtf8() + ',';
        }
        lines += '\n';
    }
    QCOMPARE(written, lines);
}

// The folder exists when the dialog opens, which proposes title_yyyyMMdd.csv in it; cancelling
// the dialog ends the export without a word.
void tst_Export::proposalAndDialog()
{
    if (QDir(exportFolder()).exists() && !QDir().rmdir(exportFolder()))
        qWarning("%s holds files; the test cannot see the export create it", qPrintable(exportFolder()));

    ExportFixture f;
    const QString before = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    f.script.cancelDialog();
    QVERIFY(f.pressExport());
    const QString after = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QCOMPARE(f.script.seen.size(), 1);

    const SeenModal& dialog = f.script.seen.first();
    QVERIFY(dialog.isFileDialog);
    QCOMPARE(dialog.title, QStringLiteral("导出至本地文件..."));
    QCOMPARE(dialog.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(dialog.nameFilters, QStringList{QStringLiteral("CSV Files (*.csv)")});
    QCOMPARE(dialog.parent, &f.page);
    QCOMPARE(QDir(dialog.directory), QDir(exportFolder()));
    QVERIFY(dialog.directoryExisted);
    QVERIFY(QDir(exportFolder()).exists());
    QVERIFY2(dialog.fileName == Title + '_' + before + ".csv" || dialog.fileName == Title + '_' + after + ".csv",
             qPrintable(dialog.fileName));
    QVERIFY(!QFile::exists(exportFolder() + '/' + dialog.fileName));
}

// Whatever model the table shows is what the file holds.
void tst_Export::anotherModelOnTheTable()
{
    ExportFixture f;
    QStandardItemModel other(3, 2);
    other.setHorizontalHeaderLabels({QStringLiteral("甲"), QStringLiteral("乙")});
    for (int cell = 0; cell < 6; ++cell)
        other.setItem(cell / 2, cell % 2, new QStandardItem(QStringLiteral("r%1c%2").arg(cell / 2).arg(cell % 2)));
    f.table->setModel(&other);
    const auto restore = qScopeGuard([&f] { f.table->setModel(proxyOf(&f.page)); });

    QVERIFY(f.saveAs(f.path));
    QCOMPARE(readFile(f.path), QByteArray("甲,乙,\nr0c0,r0c1,\nr1c0,r1c1,\nr2c0,r2c1,\n"));
}

// The text goes out in the locale's encoding, as a text stream writes it.
void tst_Export::localeEncoding()
{
    QTextCodec* gb18030 = QTextCodec::codecForName("GB18030");
    if (!gb18030)
        QSKIP("this Qt has no GB18030 codec");
    QTextCodec::setCodecForLocale(gb18030);
    // File names go through the locale's codec too: the folder is made under its GB18030 name.
    const auto removeFolder = qScopeGuard([existed = QDir(exportFolder()).exists()] {
        if (!existed)
            QDir().rmdir(exportFolder());
    });

    ExportFixture f;
    f.query(50);
    QVERIFY(f.saveAs(f.path));
    const QByteArray written = readFile(f.path);
    QCOMPARE(written, f.expected());
    QVERIFY(written.startsWith(gb18030->fromUnicode(f.table->model()->headerData(0, Qt::Horizontal).toString())));
    QVERIFY(written != gb18030->toUnicode(written).toUtf8());
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
