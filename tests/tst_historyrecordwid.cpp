// The page frame, driven through a page class of the test's own over stock order records: the
// query cycle as scripts of steps with what the user and the service see after each (in
// data/page/cycle.txt, the Query lock, zoom and the cursor filter included), what the page looks
// like, and its destruction.

#include "Approval.h"
#include "PageTestSupport.h"
#include "api/ZRVDHistoryFields.h"
#include "service/ValueAddedService.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

using namespace VEK_SC_Space;
using PageTest::DebugLines;
using PageTest::ModalScript;

namespace {

constexpr int Key = 4101;
const QString Title = QStringLiteral("测试页");
using Order = ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField;

// Code and volume shown, a note registered but hidden by default. Volumes sort differently as
// numbers and as text, so a sort by the display text shows.
class Columns : public TableHeader
{
public:
    Columns()
        : TableHeader(QStringLiteral("TestPageColumns"), nullptr)
    {
        addColumn(0, QStringLiteral("证券代码"), 90, Qt::AlignHCenter | Qt::AlignVCenter, true);
        addColumn(1, QStringLiteral("委托数量"), 120, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(2, QStringLiteral("备注"), 60, Qt::AlignLeft | Qt::AlignVCenter, false);
    }
    QString getColumnDisplayText(int column, std::any record, UserData*) override
    {
        return getColumnRawValue(column, std::move(record), nullptr).toString();
    }
    QVariant getColumnRawValue(int column, std::any record, UserData*) override
    {
        const Order* order = std::any_cast<Order*>(record);
        if (column == 0)
            return QString::fromLatin1(order->SecurityID, int(strnlen(order->SecurityID, sizeof order->SecurityID)));
        return column == 1 ? QVariant(order->OrderVolume) : QVariant();
    }
};

class Page : public HistoryRecordWid
{
public:
    explicit Page(QWidget* parent)
        : HistoryRecordWid(Key, 0, Title, parent) {}
    ~Page() override { clearRecords(); }

    using HistoryRecordWid::isTotalLast, HistoryRecordWid::loadAllRequested, HistoryRecordWid::model,
        HistoryRecordWid::proxyModel, HistoryRecordWid::queryLock, HistoryRecordWid::records, HistoryRecordWid::requestId;

    QStringList sent; // investor|begin|end|sort|batch of every request, in order

protected:
    void createTableHeader() override
    {
        tableHeader = new Columns;
        tableHeader->initUserColumn();
    }
    void connectResponseSignal() override
    {
        connect(userData, &UserData::signal_ZRVA_RspInquiryHistoryOrderFinished, this, &Page::slot_InquiryHistoryFinished);
    }
    int collectNewRecords() override
    {
        const QVector<void*>& list = userData->getHistoryOrderList();
        const int before = records.size();
        for (int i = before + skippedRecords; i < list.size(); ++i)
            records.append(std::any(static_cast<Order*>(list.at(i))));
        return records.size() - before;
    }
    void clearRecords() override
    {
        for (void* record : userData ? userData->getHistoryOrderList() : QVector<void*>())
            delete static_cast<Order*>(record);
        if (userData)
            userData->getHistoryOrderList().clear();
        records.clear();
        skippedRecords = 0;
    }
    int sendHistoryRequest(QString investorId, QString beginDate, QString endDate, char sortType, int batch,
                           int& id) override
    {
        sent << QStringList{investorId, beginDate, endDate, QString(QLatin1Char(sortType ? sortType : '-')),
                            QString::number(batch)}
                    .join(QLatin1Char('|'));
        return userData->ReqQryHistoryOrderEx(investorId, beginDate, endDate, sortType, batch, id);
    }
};

// Returns once the event loop has run what was posted before: a zero timer started now fires
// after the page's own zero timers (rescale, follow-up) and after posted events, and a box that
// one of them opens is closed by then.
bool settle()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    return loop.exec() == 0;
}

// A row's or the header's height against its floor, 23 px at the zoom: ">=floor" when it is at
// least that. What the text needs beyond the floor depends on the platform's fonts; that it is
// met is rowsFitTheFont's to check.
QString atLeast(int height, int floor)
{
    return height >= floor ? QStringLiteral(">=%1").arg(floor) : QString::number(height);
}

// One account and one page on it, driven by the step words of data/page/cycle.txt.
struct Fixture
{
    ~Fixture()
    {
        if (account)
            account->userData.setService(nullptr);
    }
    template <class T>
    T* find(const char* name) { return page.findChild<T*>(QLatin1String(name)); }
    bool start()
    {
        page.initSubModule();
        for (const QWidget* widget : page.findChildren<QWidget*>())
            fonts << widget->font().pointSizeF();
        return show();
    }
    bool show()
    {
        host.resize(page.size());
        host.show();
        return QTest::qWaitForWindowExposed(&host);
    }
    int rows() const { return page.proxyModel->rowCount(); }
    bool run(const QString& step);
    void setService(const QString& word);
    void answer(const QStringList& words);
    QString state() const;

    std::optional<PageTest::Account> account{std::in_place, Key, 1}; // reset: the host deletes it
    std::unique_ptr<ValueAddedService> service;
    QWidget host; // as the client embeds the page: an unset page cursor shows the host's
    Page page{&host};
    QLabel* tips = find<QLabel>("label_historyordertradewid_tips");
    QPushButton* query = find<QPushButton>("pushButton_historyordertradewid_request");
    QPushButton* loadAll = find<QPushButton>("pushButton_historyordertradewid_loadall");
    QComboBox* sortBox = find<QComboBox>("comboBox_historyordertradewid_sorttype");
    QTableView* table = find<QTableView>("tableView_historyordertradewid");
    QStringList seen;     // boxes, Load-all log lines and listed requests of the last step
    QList<qreal> fonts;   // point sizes of the page's widgets at 100 %
    bool clicked = false; // the Query button's lock is shown from the first click on
    bool zoomed = false;
    int serial = 0;
};

bool Fixture::run(const QString& step)
{
    const QStringList words = step.split(QLatin1Char(' '));
    const QString verb = words.first();
    const int n = words.value(1).toInt();
    // Boxes are cancelled where they can be, else confirmed; "+gone": the host deletes the
    // account while the step's first box is open.
    bool goneInBox = words.contains(QStringLiteral("+gone"));
    ModalScript boxes;
    for (int i = 0; i < 3; ++i) {
        boxes.step([this, &goneInBox](QWidget* modal) {
            if (std::exchange(goneInBox, false))
                account.reset();
            auto* box = qobject_cast<QMessageBox*>(modal);
            QAbstractButton* button = nullptr;
            for (QAbstractButton* candidate : box ? box->buttons() : QList<QAbstractButton*>()) {
                const QString text = candidate->text().remove(QLatin1Char('&'));
                if (text == QStringLiteral("取 消") || (!button && text == QStringLiteral("确定")))
                    button = candidate;
            }
            return button && (QTimer::singleShot(0, button, &QAbstractButton::click), true);
        });
    }
    DebugLines log;
    seen.clear();
    if (verb == QLatin1String("query"))
        page.on_pushButton_historyordertradewid_request_clicked(); // a click, but without the lock
    else if (verb == QLatin1String("click"))
        QTest::mouseClick(query, Qt::LeftButton), clicked = true;
    else if (verb == QLatin1String("wait")) {
        // The lock's time passes at once, and the button must come back by itself.
        const int interval = page.queryLock.interval();
        if (page.queryLock.isActive()) {
            seen << QStringLiteral("lock %1 ms").arg(interval);
            page.queryLock.start(0);
        }
        if (!QTest::qWaitFor([this] { return query->isEnabled(); }))
            seen << QStringLiteral("still locked");
        page.queryLock.setInterval(interval);
    } else if (verb == QLatin1String("gone"))
        account.reset();
    else if (verb == QLatin1String("loadall"))
        loadAll->click();
    else if (verb == QLatin1String("export"))
        find<QPushButton>("pushButton_historyordertradewid_export")->click();
    else if (verb == QLatin1String("scroll"))
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    else if (verb == QLatin1String("top"))
        table->verticalScrollBar()->setValue(0);
    else if (verb == QLatin1String("close"))
        page.close();
    else if (verb == QLatin1String("header"))
        QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(table->horizontalHeader()->sectionViewportPosition(n) + 10, 10));
    else if (verb == QLatin1String("sort"))
        sortBox->setCurrentIndex(n);
    else if (verb == QLatin1String("cursor"))
        page.setCursor(Qt::CursorShape(n));
    else if (verb == QLatin1String("enter") || verb == QLatin1String("leave")) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(find<QWidget>("widget_historyordertradewid_outline"), verb == "enter" ? &enter : &leave);
    } else if (verb == QLatin1String("zoom")) {
        const int before = page.zoomPercent;
        for (const QString& percent : words.mid(1))
            page.setZoomPercent(percent.toInt());
        zoomed = true;
        if (page.zoomPercent != before)
            seen << QStringLiteral("zoomed before the event loop ran");
    } else if (verb == QLatin1String("dates")) {
        find<QDateEdit>("dateEdit_historyordertradewid_begdate")->setDate(QDate::fromString(words.value(1), Qt::ISODate));
        find<QDateEdit>("dateEdit_historyordertradewid_enddate")->setDate(QDate::fromString(words.value(2), Qt::ISODate));
    } else if (verb == QLatin1String("requests")) {
        for (const QString& request : page.sent)
            seen << QStringLiteral("request ") + request;
    } else if (verb == QLatin1String("service")) {
        for (const QString& word : words.mid(1))
            setService(word);
    } else if (verb == QLatin1String("answer") || verb == QLatin1String("error")) {
        answer(words);
    } else {
        return false;
    }
    if (!settle())
        return false;
    seen << log.containing(QStringLiteral("updateTimes"));
    for (const PageTest::SeenModal& box : boxes.seen)
        seen << QStringLiteral("box %1 %2 [%3]%4 %5").arg(box.title).arg(box.icon).arg(box.buttons.join(QLatin1Char('/'))).arg(box.parent == &page ? "" : " elsewhere", QString(box.text).replace(QLatin1Char('\n'), QLatin1Char('/')));
    return true;
}

void Fixture::setService(const QString& word)
{
    UserData& user = account->userData;
    if (word == QLatin1String("busy")) {
        service.reset(new ValueAddedService); // attached connected and logged in
        service->setBusy(true);
        user.setService(service.get());
    } else if (word == QLatin1String("ready")) {
        user.setService(nullptr);
        user.zrvaConnected = user.zrvaLoggedIn = true;
    }
    user.zrvaConnected = user.zrvaConnected && word != QLatin1String("down");
    user.zrvaLoggedIn = user.zrvaLoggedIn && word != QLatin1String("loggedout");
}

// New records go into the account's list, as the service delivers them, before the signal.
void Fixture::answer(const QStringList& words)
{
    const bool error = words.first() == QLatin1String("error");
    const int n = words.value(1).toInt();
    const int latest = account->userData.lastRequestId();
    const QString idWord = words.filter(QStringLiteral("id=")).value(0).mid(3);
    const int id = idWord.isEmpty() ? latest : idWord == QLatin1String("prev") ? latest - 1
        : idWord == QLatin1String("later")                                     ? latest + 1000
                                                                               : idWord.toInt();
    QVector<void*> batch;
    for (int i = 0; !error && i < n; ++i, ++serial) {
        auto* order = new Order{};
        std::snprintf(order->SecurityID, sizeof order->SecurityID, "%06d", serial);
        order->OrderVolume = serial * 37 % 1000 + 5;
        batch << order;
    }
    account->userData.deliverAnswer(HistoryKind::Order, id, batch, error ? n : 0,
                                    error ? QStringLiteral("柜台拒绝") : QString(), words.contains(QStringLiteral("last")));
}

QString Fixture::state() const
{
    QStringList batches;
    for (const QString& request : page.sent)
        batches << request.section(QLatin1Char('|'), 4);
    const int id = page.requestId;
    const QString awaiting = id == -1                                  ? QStringLiteral("idle")
        : id > 0 && account && id == account->userData.lastRequestId() ? QStringLiteral("waiting")
                                                                       : QStringLiteral("id %1").arg(id);
    bool arrival = true, up = true, down = true;
    for (int row = 0; row < rows(); ++row) {
        arrival = arrival && page.proxyModel->mapToSource(page.proxyModel->index(row, 0)).row() == row;
        const int volume = page.proxyModel->index(row, 1).data(Qt::UserRole).toInt();
        const int previous = row ? page.proxyModel->index(row - 1, 1).data(Qt::UserRole).toInt() : volume;
        up = up && previous <= volume;
        down = down && previous >= volume;
    }
    QString s = QStringLiteral("sent %1, held %2, rows %3, %4").arg(batches.isEmpty() ? "-" : batches.join(QLatin1Char(','))).arg(page.records.size()).arg(rows()).arg(awaiting)
        + (page.isTotalLast ? ", no more" : "") + (loadAll->isHidden() ? "" : ", load all")
        + (page.loadAllRequested ? ", loading all" : "") + (table->isSortingEnabled() ? ", sortable" : "")
        + (arrival ? "" : up ? ", volume up"
               : down        ? ", volume down"
                             : ", mixed")
        + (!clicked || query->isEnabled() ? "" : ", locked")
        + (page.testAttribute(Qt::WA_SetCursor) ? QStringLiteral(", cursor %1").arg(page.cursor().shape()) : QString());
    QStringList factors; // every widget's font size against its size at 100 %
    const QList<QWidget*> widgets = page.findChildren<QWidget*>();
    for (int i = 0; zoomed && i < widgets.size(); ++i)
        factors << QString::number(widgets.at(i)->font().pointSizeF() / fonts.value(i));
    factors.removeDuplicates();
    const int floor = qRound(23 * page.zoomPercent / 100.0);
    s += zoomed ? QStringLiteral(", zoom %1 x%2, row %3 header %4 column %5").arg(page.zoomPercent).arg(factors.join(QLatin1Char('/'))).arg(atLeast(table->verticalHeader()->defaultSectionSize(), floor), atLeast(table->horizontalHeader()->height(), floor)).arg(table->columnWidth(0)) : QString();
    return QStringList(QStringList{s, tips->text()} + seen).join(QStringLiteral(" | "));
}

} // namespace

class tst_HistoryRecordWid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cycle_data();
    void cycle();
    void modelsUnderTester();
    void look_data();
    void look();
    void rowsFitTheFont_data();
    void rowsFitTheFont();
    void destruction_data();
    void destruction();
};

void tst_HistoryRecordWid::initTestCase()
{
    // Column choices live in QSettings; keep this suite's apart from everything else.
    QCoreApplication::setOrganizationName(QStringLiteral("tst_historyrecordwid"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_historyrecordwid"));
    TableHeader::clearColumnChoice(QStringLiteral("TestPageColumns"));
}

void tst_HistoryRecordWid::cycle_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("states");
    QFile file(QStringLiteral(TEST_DATA_DIR "/page/cycle.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QString name;
    QStringList steps, states;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')) << QStringLiteral("== ");
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("== "))) {
            if (!steps.isEmpty())
                QTest::newRow(qPrintable(name)) << steps << states;
            name = line.mid(3), steps.clear(), states.clear();
        } else if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) {
            steps << line.section(QStringLiteral(" | "), 0, 0);
            states << line.section(QStringLiteral(" | "), 1);
        }
    }
}

void tst_HistoryRecordWid::cycle()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, states);
    Fixture f;
    QVERIFY(f.start());
    QStringList seen;
    for (const QString& step : steps) {
        QVERIFY2(f.run(step), qPrintable(step));
        seen << f.state();
    }
    QCOMPARE(seen, states);
}

void tst_HistoryRecordWid::modelsUnderTester()
{
    Fixture f;
    QVERIFY(f.start());
    QAbstractItemModelTester modelTester(f.page.model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(f.page.proxyModel, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const char* step : {"query", "answer 150", "answer 200", "loadall"})
        QVERIFY(f.run(QLatin1String(step)));
    // The testers page rows in by themselves; whatever they fetched, Load all ends complete.
    while (f.page.requestId != -1)
        QVERIFY(f.run(f.page.records.size() + 90 >= 700 ? "answer 90 last" : "answer 90"));
    QCOMPARE(f.state().section(QStringLiteral(" | "), 0, 1),
             QStringLiteral("sent 1,2,3,4,5,6, held 710, rows 710, idle, no more, sortable | 所有数据已加载完毕(共710条)"));
    for (const char* step : {"header 1", "query", "answer 30 last"})
        QVERIFY(f.run(QLatin1String(step)));
    QCOMPARE(f.rows(), 30);
}

void tst_HistoryRecordWid::look_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("designed width") << 1079;
    QTest::newRow("narrow") << 420;
}

// What a user sees of the page before and after set-up and with two rows, in an approval file:
// the same at any width.
void tst_HistoryRecordWid::look()
{
    QFETCH(int, width);
    Fixture f;
    f.page.resize(width, 537);
    QVERIFY(f.show());
    QStringList lines;
    const auto day = [](const QDate& date) {
        const qint64 days = QDate::currentDate().daysTo(date);
        return qAbs(days) < 100 ? QStringLiteral("today%1").arg(days) : date.toString(Qt::ISODate);
    };
    const auto describe = [&](const QString& when) {
        QVERIFY(settle());
        QStringList parts;
        for (const char* name : {"request", "export", "loadall"}) {
            const auto* button = f.find<QPushButton>(QByteArray("pushButton_historyordertradewid_") + name);
            parts << QStringLiteral("%1 %2x%3%4").arg(button->text()).arg(button->width()).arg(button->height()).arg(button->isHidden() ? " hidden" : "");
        }
        lines << when + QStringLiteral(": buttons ") + parts.join(QStringLiteral(", "))
              << QStringLiteral("  load all ends %1 px from the right, tips \"%2\"")
                     .arg(f.loadAll->parentWidget()->width() - f.loadAll->geometry().right() - 1)
                     .arg(f.tips->text())
              << QStringLiteral("  dates %1 to %2, order %3 of %4/%5")
                     .arg(day(f.find<QDateEdit>("dateEdit_historyordertradewid_begdate")->date()),
                          day(f.find<QDateEdit>("dateEdit_historyordertradewid_enddate")->date()))
                     .arg(f.sortBox->currentIndex())
                     .arg(f.sortBox->itemText(0), f.sortBox->itemText(1));
        const QAbstractItemModel* model = f.table->model();
        parts.clear();
        for (int c = 0; model && c < model->columnCount(); ++c)
            parts << QStringLiteral("%1 %2").arg(model->headerData(c, Qt::Horizontal).toString()).arg(f.table->columnWidth(c));
        lines << QStringLiteral("  columns %1, titles 0x%2 in a header %3 high, rows %4 high, sorting %5")
                     .arg(parts.isEmpty() ? "none" : parts.join(QStringLiteral(", ")))
                     .arg(int(f.table->horizontalHeader()->defaultAlignment()), 0, 16)
                     .arg(atLeast(f.table->horizontalHeader()->height(), 23), atLeast(f.table->verticalHeader()->defaultSectionSize(), 23))
                     .arg(f.table->isSortingEnabled() ? "on" : "off");
        for (int r = 0; model && r < model->rowCount(); ++r) {
            parts.clear();
            for (int c = 0; c < model->columnCount(); ++c)
                parts << QStringLiteral("%1 (0x%2)").arg(model->index(r, c).data().toString()).arg(model->index(r, c).data(Qt::TextAlignmentRole).toInt(), 0, 16);
            lines << QStringLiteral("  row %1: %2").arg(r).arg(parts.join(QStringLiteral(" | ")));
        }
    };
    describe(QStringLiteral("constructed"));
    f.page.initSubModule();
    describe(QStringLiteral("initialised"));
    QVERIFY(f.run(QStringLiteral("query")) && f.run(QStringLiteral("answer 2 last")));
    describe(QStringLiteral("answered"));
    QVERIFY(matchesApproved(QStringLiteral("page/look.txt"), lines));
}

void tst_HistoryRecordWid::rowsFitTheFont_data()
{
    QTest::addColumn<int>("points");
    for (int points : {9, 12, 14, 16})
        QTest::addRow("%d pt", points) << points;
}

// At 100 % a row is 23 px high, or as high as its text needs when that is more; the header
// likewise. The text is measured here as Qt lays it out: the cells' own text through the
// delegate, and a Chinese title, whose fallback font may be taller than the table's own.
void tst_HistoryRecordWid::rowsFitTheFont()
{
    QFETCH(int, points);
    Fixture f;
    f.page.setFont(QFont(f.page.font().family(), points));
    QVERIFY(f.start());
    QVERIFY(f.run(QStringLiteral("query")) && f.run(QStringLiteral("answer 3 last")));
    const QTableView* table = f.table;
    const QFontMetrics metrics(table->font());
    const int grid = table->showGrid() ? 1 : 0;
    struct View : QTableView
    {
        using QTableView::sizeHintForRow;
    }; // what the delegate asks for the row
    const int text = qMax((table->*(&View::sizeHintForRow))(0), metrics.boundingRect(QStringLiteral("证券代码")).height() + grid);
    const int title = table->horizontalHeader()->sizeHint().height();
    const QString sizes = QStringLiteral("row %1 for text %2, header %3 for titles %4")
                              .arg(table->rowHeight(0))
                              .arg(text)
                              .arg(table->horizontalHeader()->height())
                              .arg(title);
    QVERIFY2(table->rowHeight(0) >= qMax(23, text) && table->horizontalHeader()->height() >= qMax(23, title), qPrintable(sizes));
    // Not more than the text needs, beyond the 23 px.
    QVERIFY2(table->rowHeight(0) <= qMax(23, text + 2) && table->horizontalHeader()->height() <= qMax(23, title + 2), qPrintable(sizes));
}

void tst_HistoryRecordWid::destruction_data()
{
    QTest::addColumn<bool>("used");
    QTest::newRow("never initialised") << false;
    QTest::newRow("queried, zoom and Query lock pending") << true;
}

// The sanitizer build judges the freeing; the rescale and the lock's re-enable die with the page.
void tst_HistoryRecordWid::destruction()
{
    QFETCH(bool, used);
    auto* f = new Fixture;
    if (used) {
        QVERIFY(f->start());
        QTest::mouseClick(f->query, Qt::LeftButton);
        QVERIFY(f->run(QStringLiteral("answer 120 last")));
        f->page.setZoomPercent(150);
    }
    if (used)
        f->page.queryLock.start(0); // due now, with the rescale
    DebugLines log;
    delete f;
    QCOMPARE(log.lines(), QStringList{QStringLiteral("~HistoryRecordWid()")});
    QVERIFY(settle()); // their time has come and gone
}

QTEST_MAIN(tst_HistoryRecordWid)
#include "tst_historyrecordwid.moc"
