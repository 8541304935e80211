// Export of a page's table to a CSV file through the page's Export button, with the boxes and
// the save dialog answered: what the file holds, and which boxes the user meets when.

#include "Approval.h"
#include "BytesCache.h"
#include "ClientConstants.h"
#include "CsvWriter.h"
#include "ExportFile.h"
#include "HistoryOrderWid.h"
#include "PageTestSupport.h"
#include "service/HistoryGenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextCodec>
#include <QtTest>

#include <csignal>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace PageTest;

static QString exportFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出"); }

// The file as Python's csv module reads it (in the given encoding), as JSON: a list of records, each
// a list of fields. Empty when python3 cannot be run.
static QByteArray readByPython(const QString& path, const QString& encoding)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral("import csv, json, sys\n"
                                                                                  "with open(sys.argv[1], newline='', encoding=sys.argv[2]) as f:\n"
                                                                                  "    print(json.dumps(list(csv.reader(f))))"),
                                             path, encoding});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return QByteArray();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).toJson(QJsonDocument::Compact);
}

#ifdef Q_OS_UNIX
// Makes a folder refuse new entries. Root ignores permissions, so for root the folder is made
// immutable instead, where the file system has that attribute.
static bool refuseNewEntries(const QString& folder)
{
    if (::geteuid() != 0)
        return QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    return QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0;
}

static void allowNewEntries(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return;
    if (::geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
#endif

// What a CSV reader must read back: each line's display texts and the empty field after the last comma.
static QByteArray tableAsJson(const QAbstractItemModel* model)
{
    QJsonArray lines;
    for (int row = -1; row < model->rowCount(); ++row) {
        QJsonArray fields;
        for (int column = 0; column < model->columnCount(); ++column)
            fields.append((row < 0 ? model->headerData(column, Qt::Horizontal) : model->index(row, column).data()).toString());
        fields.append(QString());
        lines.append(fields);
    }
    return QJsonDocument(lines).toJson(QJsonDocument::Compact);
}

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
        QDir().rmdir(exportFolder()); // the empty folder the export made; it never holds a file here
        QTextCodec::setCodecForLocale(nullptr);
    }
    void exportButton_data();
    void exportButton();
    void writer_data();
    void writer();
    void textField_data();
    void textField();
    void cache_data();
    void cache();
    void proposedFolder_data();
    void proposedFolder();
};

void tst_Export::exportButton_data()
{
    QTest::addColumn<QString>("setup");  // see exportButton()
    QTest::addColumn<QString>("target"); // under the test's folder unless absolute; first "*": an earlier
                                         // file, "@": a link to one, "|": a pipe with a reader
    QTest::addColumn<QString>("steps");  // for the modals, in order
    QTest::addColumn<QStringList>("seen");
    QTest::addColumn<int>("rowsWritten");  // -1: no new file; -2: the earlier file or the device as it was
    QTest::addColumn<QString>("approved"); // what the file holds, as text

    const QString question = QStringLiteral("历史委托数据导出 | 数据尚未全部加载完成，是否仍要导出？ | 1 | 导 出/取 消 | on top");
    const QString dialog = QStringLiteral("导出至本地文件... | 表格导出/历史委托_<today>.csv | CSV Files (*.csv) | save");
    const QString done = QStringLiteral("导出数据成功 | 历史委托表格导出成功，文件已保存！ | 1 | 确定");
    const QString unwritten = QStringLiteral("导出失败 | 导出失败，写入文件时出错。 | 3 | 确定");
    const QString folderFailed = QStringLiteral("导出失败 | 导出失败，无法在该文件夹中保存文件，请选择其他文件夹。 | 3 | 确定");
    const QString file = QStringLiteral("table.csv"), save = QStringLiteral("save/确定"), anyway = QStringLiteral("导 出/save/确定");
    const QString replace = QStringLiteral("save/Yes/确定"), another = QStringLiteral("another window's box");
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
    QTest::newRow("folder missing") << "last 40"
                                    << "missing/deeper/table.csv" << save << QStringList{dialog, folderFailed} << -1 << "";
    QTest::newRow("longer file saved over") << "last 40"
                                            << "*again.csv" << replace << QStringList{dialog, another, done} << 40 << "";
#ifdef Q_OS_UNIX
    // A write past the size limit fails as on a full disk: the earlier file, or the one a link points
    // at, stays as it was, and no part of the new one is left.
    QTest::newRow("size limit: no part left") << "last 250, all, 4 KiB" << file << save << QStringList{dialog, unwritten} << -1 << "";
    QTest::newRow("size limit: the earlier file stays") << "last 250, all, 4 KiB"
                                                        << "*again.csv" << replace
                                                        << QStringList{dialog, another, unwritten} << -2 << "";
    QTest::newRow("size limit: the linked file stays") << "last 250, all, 4 KiB"
                                                       << "@link.csv" << replace
                                                       << QStringList{dialog, another, unwritten} << -2 << "";
    QTest::newRow("saved through a link") << "last 40"
                                          << "@link.csv" << replace << QStringList{dialog, another, done} << 40 << "";
    // Neither a device nor a pipe is written (a pipe without a reader would block the window).
    const QString notAFile = QStringLiteral("导出失败 | 导出失败，所选路径不是普通文件，请选择其他文件名。 | 3 | 确定");
    QTest::newRow("a device") << "last 40"
                              << "/dev/null" << replace << QStringList{dialog, another, notAFile} << -2 << "";
    QTest::newRow("a pipe") << "last 40"
                            << "|pipe.csv" << replace << QStringList{dialog, another, notAFile} << -2 << "";
#endif
#ifdef Q_OS_LINUX
    // A read-only attribute of sysfs refuses writing even to root: an existing file that cannot be opened.
    const QString opened = QStringLiteral("导出失败 | 导出失败，该文件已打开，请关闭文件后重试。 | 3 | 确定");
    QTest::newRow("existing file not writable") << "last 40"
                                                << "/sys/devices/system/cpu/online" << replace
                                                << QStringList{dialog, another, opened} << -2 << "";
    QTest::newRow("folder not writable") << "last 40"
                                         << "/proc/export-test.csv" << save << QStringList{dialog, folderFailed} << -1 << "";
#endif
}

// Setup words: the locale's codec first; "last N" or "more N" records answered, the last batch or not;
// "all" of them shown; "4 KiB": no file may grow beyond during the export; "tricky" values with commas, quotes and a line break;
// "raw bytes": text fields that are not UTF-8 (overlong, surrogate, cut short, GBK) or begin with a byte-order mark; a sort by a column
// title after + or -; "other": another model on the table. The file holds what the table shows,
// in the user's order, a comma after every value, a value quoted only when it holds a comma, a
// double quote or a line break, in the locale's encoding without a byte-order mark. The export only reads the table: rows, records, query and tips stay.
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
            std::strcpy(raw->CustomerID, "\xEF\xBB\xBF"
                                         "8800123");
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
            .arg(table->model()->rowCount())
            .arg(recordsOf(&page).size())
            .arg(isTotalLastOf(&page))
            .arg(requestIdOf(&page))
            .arg(account.userData.lastRequestId())
            .arg(tipsOf(&page))
            .arg(qHash(expectedCsv(table->model())));
    };
    QTemporaryDir files;
    ModalScript script;
    const QString kind = target.left(1); // "*", "@" or "|": what is there before
    const bool prepared = QStringLiteral("*@|").contains(kind);
    const QString path = QDir(files.path()).filePath(target.mid(prepared ? 1 : 0));
    const QString earlierPath = kind == QLatin1String("@") ? files.filePath(QStringLiteral("linked.csv")) : path;
    const QByteArray earlier(200000, 'x');
    QFile old(earlierPath), written(earlierPath);
    QVERIFY(!(kind == "*" || kind == "@") || (old.open(QIODevice::WriteOnly) && old.write(earlier) == earlier.size() && old.flush()));
    old.close();
#ifdef Q_OS_UNIX
    QVERIFY(kind != "@" || QFile::link(earlierPath, path));
    // A reader, so that an export that opens the pipe anyway writes into it instead of hanging.
    QVERIFY(kind != "|" || ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    const int reader = kind == "|" ? ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK) : -1;
    const auto closeReader = qScopeGuard([reader] { if (reader >= 0) ::close(reader); });
#endif
    const auto entries = [&] { return QDir(files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot); };
    const QStringList entriesBefore = entries();
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
    signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the process
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
    partOf<QPushButton>(&page, "export")->click();
#ifdef Q_OS_UNIX
    setrlimit(RLIMIT_FSIZE, &normal);
#endif
    QVERIFY(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }) && script.done());
    QCOMPARE(script.unanswered, 0);

    QStringList shown;
    for (const SeenModal& s : qAsConst(script.seen)) {
        if (s.isFileDialog) {
            const QString folder = QDir(s.directory) == QDir(exportFolder()) && s.directoryExisted ? "表格导出" : s.directory;
            shown << QStringLiteral("%1 | %2/%3 | %4%5").arg(s.title, folder, QString(s.fileName).replace(today, "<today>"), s.nameFilters.join(';'), s.acceptMode == QFileDialog::AcceptSave ? " | save" : "");
        } else if (s.parent != &page) {
            shown << QStringLiteral("another window's box");
        } else {
            shown << QStringLiteral("%1 | %2 | %3 | %4%5").arg(s.title, s.text).arg(s.icon).arg(s.buttons.join('/'), s.flags.testFlag(Qt::WindowStaysOnTopHint) ? " | on top" : "");
        }
    }
    QCOMPARE(shown, seen);
    QCOMPARE(state(), before);
    // Nothing but the saved file is new in the folder: no temporary or partial file stays behind.
    QStringList entriesAfter = entriesBefore;
    if (rowsWritten >= 0 && !prepared && QFileInfo(path).dir() == QDir(files.path()))
        entriesAfter << QFileInfo(path).fileName();
    QStringList entriesNow = entries();
    entriesNow.sort();
    entriesAfter.sort();
    QCOMPARE(entriesNow, entriesAfter);
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("@"));
    if (rowsWritten == -2) { // the earlier file byte for byte, or a device or pipe still one
        const QFileInfo info(earlierPath);
        QVERIFY(info.exists());
        if (kind == "*" || kind == "@")
            QCOMPARE(written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray(), earlier);
        else if (kind == "|" || earlierPath.startsWith(QLatin1String("/dev/")))
            QVERIFY(!info.isFile());
        return;
    }
    // Read as text: the export writes the platform's line ends (CRLF on Windows).
    const QByteArray bytes = written.open(QIODevice::ReadOnly | QIODevice::Text) ? written.readAll() : QByteArray("(no file)");
    written.close();
    QCOMPARE(bytes, rowsWritten < 0 ? QByteArray("(no file)") : expectedCsv(table->model()));
    QCOMPARE(locale->toUnicode(bytes).count(QLatin1Char('\n')), rowsWritten + 1 + (setup.contains("tricky") ? 1 : 0));
    // The Chinese titles are UTF-8 only where the locale's encoding is: no byte-order mark, no
    // fixed encoding. Without a file there are no titles to tell.
    if (rowsWritten >= 0)
        QCOMPARE(bytes == locale->toUnicode(bytes).toUtf8(), locale->mibEnum() == 106);
    if (!approved.isEmpty())
        QVERIFY(matchesApproved("export/" + approved, locale->toUnicode(bytes).chopped(1).split(QLatin1Char('\n'))));
    const QByteArray readBack = tableAsJson(table->model());
    table->setModel(proxyOf(&page));
    if (rowsWritten < 0 || !setup.contains("tricky"))
        return;
    // A spreadsheet's reading: each value back as the table shows it, commas, quotes and line
    // breaks included, and the empty field after every line's last comma.
    if (QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        QSKIP("python3 is not installed: the file is not read back through Python's csv module");
    // Qt names Windows' ANSI code page "System"; Python calls it "mbcs".
    const QString encoding = locale->mibEnum() == 0 ? QStringLiteral("mbcs") : QString::fromLatin1(locale->name());
    QCOMPARE(readByPython(earlierPath, encoding), readBack);
}

void tst_Export::writer_data()
{
    QTest::addColumn<QByteArray>("codec");
    for (const char* codec : {"UTF-8", "GBK", "ISO-8859-1", "UTF-16LE"}) // the last writes ASCII as two bytes
        QTest::newRow(codec) << QByteArray(codec);
}

// Values of every form the writer takes, plain and in need of quotes, as the codec writes their text.
void tst_Export::writer()
{
    QFETCH(QByteArray, codec);
    QTextCodec* encoding = QTextCodec::codecForName(codec);
    const char field[] = "A1,\"2\"\n3";
    const char name[] = "\xE5\xAE\xA2\xE6\x88\xB7,\xE7\x94\xB2"; // 客户,甲
    CsvWriter out(encoding);
    out.append(QStringLiteral("é,中"));
    out.append(QStringLiteral("plain"));
    out.append(QStringLiteral("\",")); // nothing but characters that need quotes
    out.endLine();
    out.append(HistoryColumn::CellText::utf8(field, std::strlen(field)));
    out.append(HistoryColumn::CellText::utf8(name, std::strlen(name)));
    out.append(HistoryColumn::CellText::utf8(name, 6));
    out.append(HistoryColumn::CellText::number(HistoryColumn::CellText::Kind::Amount, -7.3e-12));
    out.append(HistoryColumn::CellText::code('1', [](char) { return QStringLiteral("\"买\"入"); }));
    out.appendRow(nullptr, 0);
    QBuffer file;
    QVERIFY(file.open(QIODevice::WriteOnly) && out.writeTo(file));
    QCOMPARE(file.data(), encoding->fromUnicode(QStringLiteral("\"é,中\",plain,\"\"\",\",\n\"A1,\"\"2\"\"\n3\",\"客户,甲\",客户,0.00,\"\"\"买\"\"入\",\n")));
}

void tst_Export::textField_data()
{
    QTest::addColumn<QByteArray>("field");
    // Fields of up to, at and past one and two words of eight, each character that needs quotes
    // or is not ASCII at each place in turn.
    for (const int length : {1, 7, 8, 9, 16, 17}) {
        const QByteArray plain = QByteArray("0123456789ABCDEFGH").left(length);
        QTest::addRow("%d plain", length) << plain;
        for (int at = 0; at < length; ++at) {
            for (const char* odd : {",", "\"", "\r", "\n", "\xE4\xB8\xAD"}) { // the last: 中
                QByteArray field = plain;
                field.replace(at, 1, odd);
                QTest::addRow("%d, 0x%02x at %d", length, static_cast<unsigned char>(*odd), at) << field;
            }
        }
    }
}

// A text field comes out as its text, quoted exactly when it holds a comma, a quote or a line break.
void tst_Export::textField()
{
    QFETCH(QByteArray, field);
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    CsvWriter out(gbk);
    out.append(HistoryColumn::CellText::utf8(field.constData(), std::size_t(field.size())));
    QBuffer file;
    QVERIFY(file.open(QIODevice::WriteOnly) && out.writeTo(file));
    QString text = QString::fromUtf8(field);
    if (field.contains(',') || field.contains('"') || field.contains('\r') || field.contains('\n'))
        text = QLatin1Char('"') + text.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    QCOMPARE(file.data(), gbk->fromUnicode(text + QLatin1Char(',')));
}

void tst_Export::cache_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("keys");
    QTest::newRow("half full") << 16 << 8;
    QTest::newRow("one key") << 2 << 1;
    QTest::newRow("more keys than room") << 16 << 40;
}

// Each key finds its own value, never another's, and while the keys fit (half the size) each
// keeps its value, whichever slots their bytes point to. Keys come in pairs of the same bytes with
// two extras.
void tst_Export::cache()
{
    QFETCH(int, size);
    QFETCH(int, keys);
    BytesCache<std::string> cache{std::size_t(size)};
    int made = 0;
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < keys; ++k) {
            const std::string bytes = std::to_string(k / 2 * 7919);
            const char extra = char('1' + k % 2);
            std::string& value = cache.find(bytes, extra);
            if (value.empty()) {
                value = bytes + extra;
                ++made;
            }
            QCOMPARE(value, bytes + extra);
        }
    }
    if (2 * keys <= size)
        QCOMPARE(made, keys);
    else
        QVERIFY(made > keys); // it started afresh, and stayed within its size
}

void tst_Export::proposedFolder_data()
{
    QTest::addColumn<QString>("setup");  // what is in the way of 表格导出 under the application's folder
    QTest::addColumn<bool>("documents"); // proposed under the user's documents, else beside the application
    QTest::newRow("nothing: made") << "" << false;
    QTest::newRow("the folder exists") << "folder" << false;
    QTest::newRow("the application folder is a file") << "file app" << true;
    QTest::newRow("a file of the folder's name") << "file app/表格导出" << true;
#ifdef Q_OS_UNIX
    QTest::newRow("the application folder is read-only") << "read-only app" << true;
    QTest::newRow("the folder is read-only") << "read-only app/表格导出" << true;
#endif
}

// The proposal moves to the documents folder only when 表格导出 cannot be made or written beside
// the application, and leaves nothing behind where it looked.
void tst_Export::proposedFolder()
{
    QFETCH(QString, setup);
    QFETCH(bool, documents);
    QTemporaryDir home;
#ifdef Q_OS_UNIX
    // The documents folder of a home of our own.
    const QByteArray savedHome = qgetenv("HOME"), savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    const auto restore = qScopeGuard([&] { qputenv("HOME", savedHome); qputenv("XDG_CONFIG_HOME", savedConfig); });
#endif
    QTemporaryDir install;
    const QString application = install.filePath(QStringLiteral("app"));
    QVERIFY(QDir().mkpath(application));
    if (setup.startsWith(QLatin1String("file "))) {
        QVERIFY(setup != QLatin1String("file app") || QDir(application).removeRecursively());
        QFile file(install.filePath(setup.mid(5)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QDir().mkpath(application + QStringLiteral("/表格导出")));
    }
#ifdef Q_OS_UNIX
    if (setup.startsWith(QLatin1String("read-only "))) {
        const QString folder = install.filePath(setup.mid(10));
        QVERIFY(QDir().mkpath(folder));
        if (!refuseNewEntries(folder))
            QSKIP("no way here to make a folder refuse root (chattr +i failed)");
    }
    const auto writable = qScopeGuard([&] {
        allowNewEntries(application + QStringLiteral("/表格导出"));
        allowNewEntries(application);
    });
#endif
    const QString documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/表格导出");
    const QString proposed = ExportFile::proposedFolder(application, QStringLiteral("表格导出"));
    QCOMPARE(proposed, documents ? documentsFolder : application + QStringLiteral("/表格导出"));
    QVERIFY(QFileInfo(proposed).isDir());
    QCOMPARE(QDir(proposed).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
