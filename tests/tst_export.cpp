// Export of a page's table to a CSV file through the page's Export button, with the boxes and
// the save dialog answered: what the file holds, and which boxes the user meets when.

#include "ClientConstants.h"
#include "HistoryOrderWid.h"
#include "PageTestSupport.h"
#include "Approval.h"
#include "service/HistoryGenerator.h"

#include <QTextCodec>
#include <QtTest>

#include <csignal>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace PageTest;

static QString exportFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出"); }

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QCoreApplication::setOrganizationName(QStringLiteral("tst_export"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_export"));
        TableHeader::clearColumnChoice(QStringLiteral("THStockHistoryOrder"));
    }
    void cleanup()
    {
        QDir().rmdir(exportFolder());     // the empty folder the export made; it never holds a file here
        QTextCodec::setCodecForLocale(nullptr);
    }
    void exportButton_data();
    void exportButton();
};

void tst_Export::exportButton_data()
{
    QTest::addColumn<QString>("setup");         // see exportButton()
    QTest::addColumn<QString>("target");        // under the test's folder unless absolute; "*" first: exists
    QTest::addColumn<QString>("steps");         // for the modals, in order
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<int>("rowsWritten");       // -1: no file
    QTest::addColumn<QString>("approved");      // what the file holds, as text

    const QString question = QStringLiteral("历史委托数据导出 | 数据尚未全部加载完成，是否仍要导出？ | 1 | 导 出/取 消 | on top");
    const QString dialog = QStringLiteral("导出至本地文件... | 表格导出/历史委托_<today>.csv | CSV Files (*.csv) | save");
    const QString done = QStringLiteral("导出数据成功 | 历史委托表格导出成功，文件已保存！ | 1 | 确定");
    const QString failed = QStringLiteral("导出失败 | 导出失败，该文件已打开，请关闭文件后重试。 | 3 | 确定");
    const QString unwritten = QStringLiteral("导出失败 | 导出失败，写入文件时出错。 | 3 | 确定");
    const QString file = QStringLiteral("table.csv"), save = QStringLiteral("save/确定"), anyway = QStringLiteral("导 出/save/确定");
    const QStringList saved{dialog, done}, asked{question}, savedAnyway{question, dialog, done};

    QTest::newRow("orders") << "last 12, tricky" << file << save << saved << 12 << "stock-orders.csv";
    QTest::newRow("by price, descending") << "last 12, tricky, -委托价格" << file << save << saved << 12 << "by-price.csv";
    QTest::newRow("by code, ascending") << "last 12, tricky, +证券代码" << file << save << saved << 12 << "by-code.csv";
    QTest::newRow("GBK locale") << "GBK, last 12, tricky" << file << save << saved << 12 << "stock-orders.csv";
    QTest::newRow("fields not UTF-8") << "last 12, raw bytes" << file << save << saved << 12 << "";
    QTest::newRow("fields not UTF-8, GBK locale") << "GBK, last 12, raw bytes" << file << save << saved << 12 << "";
    QTest::newRow("another model on the table") << "last 12, other" << file << save << saved << 2 << "other-model.csv";
    QTest::newRow("before any query") << "" << file << save << saved << 0 << "";
    QTest::newRow("empty answer") << "last 0" << file << save << saved << 0 << "";
    QTest::newRow("all 250 shown") << "last 250, all" << file << save << saved << 250 << "";
    QTest::newRow("100 of 350, export") << "last 350" << file << anyway << savedAnyway << 100 << "";
    QTest::newRow("100 of 350, more to come, export") << "more 350" << file << anyway << savedAnyway << 100 << "";
    QTest::newRow("100 of 350, cancel") << "last 350" << file << "取 消" << asked << -1 << "";
    QTest::newRow("100 of 350, box closed") << "last 350" << file << "close" << asked << -1 << "";
    QTest::newRow("all shown, more to come, export") << "more 250, all" << file << anyway << savedAnyway << 250 << "";
    QTest::newRow("all shown, more to come, cancel") << "more 250, all" << file << "取 消" << asked << -1 << "";
    QTest::newRow("dialog cancelled") << "last 40" << file << "cancel" << QStringList{dialog} << -1 << "";
    QTest::newRow("folder missing") << "last 40" << "missing/deeper/table.csv" << save << QStringList{dialog, failed} << -1 << "";
    QTest::newRow("not writable") << "last 40" << "/proc/export-test.csv" << save << QStringList{dialog, failed} << -1 << "";
    QTest::newRow("longer file saved over") << "last 40" << "*again.csv" << "save/Yes/确定"
                                            << QStringList{dialog, "another window's box", done} << 40 << "";
#ifdef Q_OS_UNIX   // a full device and a file size limit exist on Unix only
    QTest::newRow("disk full") << "last 40" << "/dev/full" << "save/Yes/确定" << QStringList{dialog, "another window's box", unwritten} << -2 << "";
    QTest::newRow("file size limit: the part is removed") << "last 250, all, 4 KiB" << file << save << QStringList{dialog, unwritten} << -1 << "";
#endif
}

// Setup words: the locale's codec; "last N" or "more N" records answered, the last batch or not;
// "all" of them shown; "4 KiB": no file may grow beyond during the export; "tricky" values with commas, quotes and a line break;
// "raw bytes": text fields that are not UTF-8 (overlong, surrogate, cut short, GBK) or begin with a byte-order mark; a sort by a column
// title after + or -; "other": another model on the table. The file holds what the table shows,
// in the user's order, a comma after every value, values as they stand, in the locale's encoding
// without a byte-order mark. The export only reads the table: rows, records, query and tips stay.
// The folder is made before the dialog opens in it, proposing title_yyyyMMdd.csv.
void tst_Export::exportButton()
{
    QFETCH(QString, setup);
    QFETCH(QString, target);
    QFETCH(QString, steps);
    QFETCH(QStringList, seen);
    QFETCH(int, rowsWritten);
    QFETCH(QString, approved);

    // The locale's code page as Qt knows it, which a Qt 5 text stream also wrote (Qt 6's: UTF-8).
    if (setup.startsWith("GBK"))
        QTextCodec::setCodecForLocale(QTextCodec::codecForName("GBK"));
    QTextCodec* locale = QTextCodec::codecForLocale();
    Account account(7101, int(AccountKind::Stock));
    const HistoryWindow window(QDate(2024, 3, 15), 30, 1000);
    const HistoryGenerator generator(QStringLiteral("880012345"), account.userData.accountType, window);
    HistoryOrderWid page(account.key, int(PageType::Order), nullptr);
    page.initSubModule();
    QTableView* table = partOf<QTableView>(&page);
    QStringListModel other({QStringLiteral("甲"), QStringLiteral("r1,c1")});
    for (const QString& word : setup.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (word.startsWith("last ") || word.startsWith("more ")) {
            query(&page);
            QVector<void*> batch;
            for (int i = 0; i < word.mid(5).toInt(); ++i)
                batch.append(generator.makeRecord(HistoryKind::Order, i));
            account.userData.deliverAnswer(HistoryKind::Order, account.userData.lastRequestId(), batch, 0, QString(), word.startsWith("last"));
        } else if (word == QLatin1String("all")) {
            while (modelOf(&page)->rowCount() < recordsOf(&page).size())
                modelOf(&page)->loadNextPage();
        } else if (word == QLatin1String("other")) {
            table->setModel(&other);
        } else if (word == QLatin1String("tricky")) {
            auto* tricky = static_cast<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField*>(account.userData.getHistoryOrderList().at(1));
            std::strcpy(tricky->ShareholderID, "A1,\"2\"\n3");
            std::strcpy(tricky->CustomerID, "客户,甲");
        } else if (word == QLatin1String("raw bytes")) {
            auto* raw = static_cast<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField*>(account.userData.getHistoryOrderList().at(2));
            std::strcpy(raw->CustomerID, "\xEF\xBB\xBF" "8800123");
            std::strcpy(raw->ShareholderID, "A\xC0\xAF\xED\xA0\x80\xE4\xB8");
            std::strcpy(raw->OrderTime, "09:30\xB2\xBB.123");
        }
        for (int column = 0; column < table->model()->columnCount() && word.size() > 1; ++column) {
            if (table->model()->headerData(column, Qt::Horizontal).toString() == word.mid(1))
                table->sortByColumn(column, word.startsWith('-') ? Qt::DescendingOrder : Qt::AscendingOrder);
        }
    }
    const auto state = [&] {
        return QStringLiteral("%1 rows, %2 records, last %3, id %4, sent %5, %6, table %7")
            .arg(table->model()->rowCount()).arg(recordsOf(&page).size()).arg(isTotalLastOf(&page)).arg(requestIdOf(&page))
            .arg(account.userData.lastRequestId()).arg(tipsOf(&page)).arg(qHash(expectedCsv(table->model())));
    };
    QTemporaryDir files;
    ModalScript script;
    const bool exists = target.startsWith(QLatin1Char('*'));
    const QString path = QDir(files.path()).filePath(target.mid(exists ? 1 : 0));
    QFile old(path), written(path);
    QVERIFY(!exists || (old.open(QIODevice::WriteOnly) && old.write(QByteArray(200000, 'x')) == 200000 && old.flush()));
    for (const QString& step : steps.split(QLatin1Char('/'))) {
        if (step == QLatin1String("save"))
            script.saveAs(path);
        else if (step == QLatin1String("close"))
            script.closeBox();
        else if (step == QLatin1String("cancel"))
            script.cancelDialog();
        else
            script.pressButton(step);
    }
    const QString before = state();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
#ifdef Q_OS_UNIX
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit normal = limit;
    limit.rlim_cur = setup.contains("4 KiB") ? 4096 : limit.rlim_cur;
    signal(SIGXFSZ, SIG_IGN);   // a write past the limit fails instead of ending the process
    setrlimit(RLIMIT_FSIZE, &limit);
    partOf<QPushButton>(&page, "export")->click();
    setrlimit(RLIMIT_FSIZE, &normal);
#else
    partOf<QPushButton>(&page, "export")->click();
#endif
    QVERIFY(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }) && script.done());
    QCOMPARE(script.unanswered, 0);

    QStringList shown;
    for (const SeenModal& s : qAsConst(script.seen)) {
        if (s.isFileDialog) {
            const QString folder = QDir(s.directory) == QDir(exportFolder()) && s.directoryExisted ? "表格导出" : s.directory;
            shown << QStringLiteral("%1 | %2/%3 | %4%5").arg(s.title, folder, QString(s.fileName).replace(today, "<today>"),
                                                         s.nameFilters.join(';'), s.acceptMode == QFileDialog::AcceptSave ? " | save" : "");
        } else if (s.parent != &page) {
            shown << QStringLiteral("another window's box");
        } else {
            shown << QStringLiteral("%1 | %2 | %3 | %4%5").arg(s.title, s.text).arg(s.icon).arg(s.buttons.join('/'),
                                                                s.flags.testFlag(Qt::WindowStaysOnTopHint) ? " | on top" : "");
        }
    }
    QCOMPARE(shown, seen);
    QCOMPARE(state(), before);
    if (rowsWritten == -2) {   // a device, which the export never removes, and which reads forever
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
        return;
    }
    // Read as text: the export writes the platform's line ends (CRLF on Windows).
    const QByteArray bytes = written.open(QIODevice::ReadOnly | QIODevice::Text) ? written.readAll() : QByteArray("(no file)");
    QCOMPARE(bytes, rowsWritten < 0 ? QByteArray("(no file)") : expectedCsv(table->model()));
    QCOMPARE(bytes.count('\n'), rowsWritten + 1 + (setup.contains("tricky") ? 1 : 0));
    QCOMPARE(bytes == locale->toUnicode(bytes).toUtf8(), !setup.startsWith("GBK"));
    if (!approved.isEmpty())
        QVERIFY(matchesApproved("export/" + approved, locale->toUnicode(bytes).chopped(1).split(QLatin1Char('\n'))));
    table->setModel(proxyOf(&page));
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
