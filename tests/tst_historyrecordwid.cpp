// The page frame, driven through a page class of the test's own over stock order records: the
// query cycle as a script of steps with what the user and the service see after each, what the
// page looks like, its zoom, its cursor filter and its destruction.

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
    explicit Page(QWidget* parent = nullptr)
        : HistoryRecordWid(Key, 0, Title, parent)
    {
    }
    ~Page() override { clearRecords(); }

    using HistoryRecordWid::isTotalLast;
    using HistoryRecordWid::loadAllRequested;
    using HistoryRecordWid::model;
    using HistoryRecordWid::proxyModel;
    using HistoryRecordWid::records;
    using HistoryRecordWid::requestId;

    QStringList sent;   // investor|begin|end|sort|batch of every request, in order

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
        for (int i = before; i < list.size(); ++i)
            records.append(std::any(static_cast<Order*>(list.at(i))));
        return records.size() - before;
    }
    void clearRecords() override
    {
        for (void* record : userData->getHistoryOrderList())
            delete static_cast<Order*>(record);
        userData->getHistoryOrderList().clear();
        records.clear();
    }
    int sendHistoryRequest(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo,
                           int& requestId) override
    {
        sent << QStringList{investorId, beginDate, endDate, QString(QLatin1Char(sortType ? sortType : '-')),
                            QString::number(batchNo)}.join(QLatin1Char('|'));
        return userData->ReqQryHistoryOrderEx(investorId, beginDate, endDate, sortType, batchNo, requestId);
    }
};

// One account and one page on it, driven by step words.
struct Fixture
{
    ~Fixture() { account.userData.setService(nullptr); }
    template <class T>
    T* find(const char* name) { return page.findChild<T*>(QLatin1String(name)); }
    bool start()
    {
        page.initSubModule();
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }
    int rows() const { return page.proxyModel->rowCount(); }
    bool run(const QString& step);
    QString state() const;
    QString order() const;

    PageTest::Account account{Key, 1};
    std::unique_ptr<ValueAddedService> service;
    Page page;
    QLabel* tips = find<QLabel>("label_historyordertradewid_tips");
    QPushButton* query = find<QPushButton>("pushButton_historyordertradewid_request");
    QPushButton* exportButton = find<QPushButton>("pushButton_historyordertradewid_export");
    QPushButton* loadAll = find<QPushButton>("pushButton_historyordertradewid_loadall");
    QComboBox* sortBox = find<QComboBox>("comboBox_historyordertradewid_sorttype");
    QDateEdit* begin = find<QDateEdit>("dateEdit_historyordertradewid_begdate");
    QDateEdit* end = find<QDateEdit>("dateEdit_historyordertradewid_enddate");
    QTableView* table = find<QTableView>("tableView_historyordertradewid");
    QStringList seen;   // boxes and Load-all log lines of the last step
    int serial = 0;
};

// query | loadall | export | scroll | close | header N | sort N | service down|loggedout|busy|ready...
// | answer N [last] [id=prev|later|<n>] | error N [id=...]. Answers go to the latest request
// unless an id says otherwise; every step ends once queued calls and the view's layout have run.
bool Fixture::run(const QString& step)
{
    const QStringList words = step.split(QLatin1Char(' '));
    const QString& verb = words.first();
    const int n = words.value(1).toInt();
    ModalScript boxes;
    if (verb == QLatin1String("export"))
        boxes.pressButton(QStringLiteral("取 消"));
    for (int i = 0; i < 3; ++i)
        boxes.pressButton(QStringLiteral("确定"));
    DebugLines log;
    QHeaderView* header = table->horizontalHeader();
    if (verb == QLatin1String("query"))
        page.on_pushButton_historyordertradewid_request_clicked();   // the button's lock has its own test
    else if (verb == QLatin1String("loadall"))
        loadAll->click();
    else if (verb == QLatin1String("export"))
        exportButton->click();
    else if (verb == QLatin1String("scroll"))
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum());
    else if (verb == QLatin1String("close"))
        page.close();
    else if (verb == QLatin1String("header"))
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(n) + 10, 10));
    else if (verb == QLatin1String("sort"))
        sortBox->setCurrentIndex(n);
    else if (verb == QLatin1String("service")) {
        for (const QString& word : words.mid(1)) {
            UserData& account = this->account.userData;
            if (word == QLatin1String("busy")) {
                service.reset(new ValueAddedService);
                service->setBusy(true);
                account.setService(service.get());
            } else if (word == QLatin1String("ready")) {
                account.setService(nullptr);
                account.zrvaConnected = account.zrvaLoggedIn = true;
            }
            account.zrvaConnected = account.zrvaConnected && word != QLatin1String("down");
            account.zrvaLoggedIn = account.zrvaLoggedIn && word != QLatin1String("loggedout");
        }
    } else if (verb == QLatin1String("answer") || verb == QLatin1String("error")) {
        const bool error = verb == QLatin1String("error");
        int id = account.userData.lastRequestId();
        const QString idWord = words.filter(QStringLiteral("id=")).value(0).mid(3);
        id = idWord.isEmpty() ? id : idWord == QLatin1String("prev") ? id - 1 : idWord == QLatin1String("later") ? id + 1000 : idWord.toInt();
        QVector<void*> batch;
        for (int i = 0; !error && i < n; ++i, ++serial) {
            auto* order = new Order{};
            std::snprintf(order->SecurityID, sizeof order->SecurityID, "%06d", serial);
            order->OrderVolume = serial * 37 % 1000 + 5;
            batch << order;
        }
        account.userData.deliverAnswer(HistoryKind::Order, id, batch, error ? n : 0,
                                       error ? QStringLiteral("柜台拒绝") : QString(), words.contains(QStringLiteral("last")));
    } else {
        return false;
    }
    QTest::qWait(5);
    seen = log.containing(QStringLiteral("updateTimes"));
    for (const PageTest::SeenModal& box : boxes.seen)
        seen << QStringLiteral("box %1 %2 [%3]%4 %5").arg(box.title).arg(box.icon).arg(box.buttons.join(QLatin1Char('/')))
                    .arg(box.parent == &page ? "" : " elsewhere", QString(box.text).replace(QLatin1Char('\n'), QLatin1Char('/')));
    return true;
}

// How the rows stand: in arrival order (nothing said), or by volume up or down, or neither.
QString Fixture::order() const
{
    const QAbstractItemModel* proxy = page.proxyModel;
    bool arrival = true, up = true, down = true;
    for (int row = 0; row < proxy->rowCount(); ++row) {
        arrival = arrival && page.proxyModel->mapToSource(proxy->index(row, 0)).row() == row;
        const int volume = proxy->index(row, 1).data(Qt::UserRole).toInt();
        const int previous = row ? proxy->index(row - 1, 1).data(Qt::UserRole).toInt() : volume;
        up = up && previous <= volume;
        down = down && previous >= volume;
    }
    return arrival ? QString() : up ? QStringLiteral(", volume up") : down ? QStringLiteral(", volume down") : QStringLiteral(", mixed");
}

QString Fixture::state() const
{
    QStringList batches;
    for (const QString& request : page.sent)
        batches << request.section(QLatin1Char('|'), 4);
    const int id = page.requestId;
    const QString awaiting = id == -1 ? QStringLiteral("idle")
        : id > 0 && id == account.userData.lastRequestId() ? QStringLiteral("waiting") : QStringLiteral("id %1").arg(id);
    QString s = QStringLiteral("sent %1, held %2, rows %3, %4").arg(batches.isEmpty() ? "-" : batches.join(QLatin1Char(',')))
                    .arg(page.records.size()).arg(rows()).arg(awaiting);
    s += QString(page.isTotalLast ? ", no more" : "") + (loadAll->isHidden() ? "" : ", load all")
        + (page.loadAllRequested ? ", loading all" : "") + (table->isSortingEnabled() ? ", sortable" : "") + order();
    return QStringList(QStringList{s, tips->text()} + seen).join(QStringLiteral(" | "));
}

const QString Loading = QStringLiteral(" | 正在加载数据...");
const QString Failed = QStringLiteral(" | ") + Title + QStringLiteral("查询错误");
QString partial(int rows) { return QStringLiteral(" | 下滑滚动条以显示更多记录(已加载%1条)").arg(rows); }
QString complete(int rows) { return QStringLiteral(" | 所有数据已加载完毕(共%1条)").arg(rows); }
QString box(const QString& text) { return QStringLiteral(" | box 查询失败 3 [确定] ") + text; }
const QString NotConnected = box(QStringLiteral("增值服务未连接，请稍后重试或重启客户端。"));
const QString NotLoggedIn = box(QStringLiteral("增值服务未登录，请稍后重试或重启客户端。"));
const QString Busy = box(QStringLiteral("上次查询正在进行中，请稍后重试。"));
QString answerBox(int error) { return box(Title + QStringLiteral("查询失败/错误号: %1/错误信息: 柜台拒绝").arg(error)); }

} // namespace

class tst_HistoryRecordWid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cycle_data();
    void cycle();
    void request_data();
    void request();
    void queryLock_data();
    void queryLock();
    void modelsUnderTester();
    void look_data();
    void look();
    void zoom_data();
    void zoom();
    void cursor_data();
    void cursor();
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
    const QString first = QStringLiteral("sent 1, held 0, rows 0, waiting") + Loading;

    QTest::newRow("80, last") << QStringList{"query", "answer 80 last"}
        << QStringList{first, "sent 1, held 80, rows 80, idle, no more, sortable" + complete(80)};
    QTest::newRow("100, last; 150, last") << QStringList{"query", "answer 100 last", "query", "answer 150 last"}
        << QStringList{first, "sent 1, held 100, rows 100, idle, no more, sortable" + complete(100), "sent 1,1, held 0, rows 0, waiting" + Loading,
                       "sent 1,1, held 150, rows 100, idle, no more, load all" + partial(100)};
    QTest::newRow("lead after an answer: 199 wait, 200 shown") << QStringList{"query", "answer 150", "answer 49", "answer 1"}
        << QStringList{first, "sent 1,2, held 150, rows 0, waiting" + Loading, "sent 1,2,3, held 199, rows 0, waiting" + Loading,
                       "sent 1,2,3, held 200, rows 100, idle, load all" + partial(100)};
    QTest::newRow("lead counts the rows shown") << QStringList{"query", "answer 200", "scroll", "answer 199", "answer 1"}
        << QStringList{first, "sent 1, held 200, rows 100, idle, load all" + partial(100),
                       "sent 1,2, held 200, rows 200, waiting, load all" + partial(200),
                       "sent 1,2,3, held 399, rows 200, waiting, load all" + partial(200),
                       "sent 1,2,3, held 400, rows 200, idle, load all" + partial(200)};
    QTest::newRow("empty, last; 60 then 20, last") << QStringList{"query", "answer 0 last", "query", "answer 60", "answer 20 last"}
        << QStringList{first, "sent 1, held 0, rows 0, idle, no more, sortable" + complete(0), "sent 1,1, held 0, rows 0, waiting" + Loading,
                       "sent 1,1,2, held 60, rows 0, waiting" + Loading, "sent 1,1,2, held 80, rows 80, idle, no more, sortable" + complete(80)};
    QTest::newRow("scroll, exactly the lead left") << QStringList{"query", "answer 300", "scroll"}
        << QStringList{first, "sent 1, held 300, rows 100, idle, load all" + partial(100),
                       "sent 1,2, held 300, rows 200, waiting, load all" + partial(200)};
    QTest::newRow("scroll, one more than the lead left") << QStringList{"query", "answer 301", "scroll"}
        << QStringList{first, "sent 1, held 301, rows 100, idle, load all" + partial(100),
                       "sent 1, held 301, rows 200, idle, load all" + partial(200)};
    QTest::newRow("scroll after the last batch") << QStringList{"query", "answer 200 last", "scroll"}
        << QStringList{first, "sent 1, held 200, rows 100, idle, no more, load all" + partial(100),
                       "sent 1, held 200, rows 200, idle, no more, sortable" + complete(200)};
    QTest::newRow("stale ids ignored") << QStringList{"query", "query", "answer 250 last id=prev", "error 7 id=later", "answer 0 last id=-1", "answer 0 last"}
        << QStringList{first, "sent 1,1, held 0, rows 0, waiting" + Loading, "sent 1,1, held 0, rows 0, waiting" + Loading,
                       "sent 1,1, held 0, rows 0, waiting" + Loading, "sent 1,1, held 0, rows 0, waiting" + Loading,
                       "sent 1,1, held 250, rows 100, idle, no more, load all" + partial(100)};
    QTest::newRow("error while leading, then a new query") << QStringList{"query", "answer 150", "error -3", "scroll", "query", "answer 30 last"}
        << QStringList{first, "sent 1,2, held 150, rows 0, waiting" + Loading, "sent 1,2, held 150, rows 0, idle, no more" + Failed + answerBox(-3),
                       "sent 1,2, held 150, rows 0, idle, no more" + Failed, "sent 1,2,1, held 0, rows 0, waiting" + Loading,
                       "sent 1,2,1, held 30, rows 30, idle, no more, sortable" + complete(30)};
    QTest::newRow("error during Load all") << QStringList{"query", "answer 350", "loadall", "error 9", "answer 100 last id=prev"}
        << QStringList{first, "sent 1, held 350, rows 100, idle, load all" + partial(100),
                       "sent 1,2, held 350, rows 350, waiting, load all, loading all" + partial(350) + " | updateTimes = 3",
                       "sent 1,2, held 350, rows 350, idle, no more, load all, loading all" + Failed + answerBox(9),
                       "sent 1,2, held 350, rows 350, idle, no more, load all, loading all" + Failed};
    QTest::newRow("Load all pages through to the end") << QStringList{"query", "answer 350", "loadall", "answer 120", "answer 50 last"}
        << QStringList{first, "sent 1, held 350, rows 100, idle, load all" + partial(100),
                       "sent 1,2, held 350, rows 350, waiting, load all, loading all" + partial(350) + " | updateTimes = 3",
                       "sent 1,2,3, held 470, rows 350, waiting, load all, loading all" + partial(350),
                       "sent 1,2,3, held 520, rows 520, idle, no more, loading all, sortable" + complete(520) + " | updateTimes = 2"};
    QTest::newRow("Load all, one short page left") << QStringList{"query", "answer 201", "loadall", "answer 199", "answer 1 last"}
        << QStringList{first, "sent 1, held 201, rows 100, idle, load all" + partial(100),
                       "sent 1,2, held 201, rows 201, waiting, load all, loading all" + partial(201) + " | updateTimes = 2",
                       "sent 1,2,3, held 400, rows 201, waiting, load all, loading all" + partial(201),
                       "sent 1,2,3, held 401, rows 401, idle, no more, loading all, sortable" + complete(401) + " | updateTimes = 2"};
    QTest::newRow("Load all with everything received") << QStringList{"query", "answer 300 last", "loadall"}
        << QStringList{first, "sent 1, held 300, rows 100, idle, no more, load all" + partial(100),
                       "sent 1, held 300, rows 300, idle, no more, loading all, sortable" + complete(300) + " | updateTimes = 2"};
    QTest::newRow("closing ends Load all, the lead stays") << QStringList{"query", "answer 350", "loadall", "close", "answer 100", "answer 300"}
        << QStringList{first, "sent 1, held 350, rows 100, idle, load all" + partial(100),
                       "sent 1,2, held 350, rows 350, waiting, load all, loading all" + partial(350) + " | updateTimes = 3",
                       "sent 1,2, held 350, rows 350, waiting, load all" + partial(350),
                       "sent 1,2,3, held 450, rows 350, waiting, load all" + partial(350),
                       "sent 1,2,3, held 750, rows 350, idle, load all" + partial(350)};
    QTest::newRow("sorting only when complete, a query forgets it") << QStringList{"query", "answer 250 last", "loadall", "header 1", "query", "answer 250 last", "loadall"}
        << QStringList{first, "sent 1, held 250, rows 100, idle, no more, load all" + partial(100),
                       "sent 1, held 250, rows 250, idle, no more, loading all, sortable" + complete(250) + " | updateTimes = 2",
                       "sent 1, held 250, rows 250, idle, no more, loading all, sortable, volume up" + complete(250),
                       "sent 1,1, held 0, rows 0, waiting" + Loading,
                       "sent 1,1, held 250, rows 100, idle, no more, load all" + partial(100),
                       "sent 1,1, held 250, rows 250, idle, no more, loading all, sortable" + complete(250) + " | updateTimes = 2"};
    QTest::newRow("not connected: records cleared, label kept") << QStringList{"query", "answer 80 last", "service down", "query", "loadall"}
        << QStringList{first, "sent 1, held 80, rows 80, idle, no more, sortable" + complete(80), "sent 1, held 80, rows 80, idle, no more, sortable" + complete(80),
                       "sent 1, held 0, rows 0, idle" + complete(80) + NotConnected, "sent 1, held 0, rows 0, idle" + complete(80) + NotConnected};
    QTest::newRow("not logged in, then neither: connection first") << QStringList{"query", "answer 300", "service loggedout", "loadall", "service down", "query"}
        << QStringList{first, "sent 1, held 300, rows 100, idle, load all" + partial(100), "sent 1, held 300, rows 100, idle, load all" + partial(100),
                       "sent 1, held 300, rows 100, idle, load all" + partial(100) + NotLoggedIn, "sent 1, held 300, rows 100, idle, load all" + partial(100),
                       "sent 1, held 0, rows 0, idle" + partial(100) + NotConnected};
    QTest::newRow("busy stops the next batch, Load all and Query") << QStringList{"query", "service busy", "answer 150", "loadall", "query", "service ready", "query"}
        << QStringList{first, first, "sent 1, held 150, rows 0, idle" + Loading + Busy,
                       "sent 1, held 150, rows 0, idle" + Loading + Busy, "sent 1, held 0, rows 0, idle" + Loading + Busy,
                       "sent 1, held 0, rows 0, idle" + Loading, "sent 1,1, held 0, rows 0, waiting" + Loading};
    QTest::newRow("refused request: local error number") << QStringList{"query", "answer 80 last", "sort -1", "query", "sort 0", "query"}
        << QStringList{first, "sent 1, held 80, rows 80, idle, no more, sortable" + complete(80), "sent 1, held 80, rows 80, idle, no more, sortable" + complete(80),
                       "sent 1,1, held 0, rows 0, idle | 查询失败，本地错误号:-4", "sent 1,1, held 0, rows 0, idle | 查询失败，本地错误号:-4",
                       "sent 1,1,1, held 0, rows 0, waiting" + Loading};
    QTest::newRow("export of a partial table asks first") << QStringList{"query", "answer 150 last", "export"}
        << QStringList{first, "sent 1, held 150, rows 100, idle, no more, load all" + partial(100),
                       "sent 1, held 150, rows 100, idle, no more, load all" + partial(100) + " | box " + Title
                           + "数据导出 1 [导 出/取 消] 数据尚未全部加载完成，是否仍要导出？"};
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

void tst_HistoryRecordWid::request_data()
{
    QTest::addColumn<int>("sortIndex");
    QTest::addColumn<QDate>("begin");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("request");
    QTest::newRow("newest on top") << 0 << QDate(2024, 3, 5) << QDate(2024, 3, 14) << "880012345|20240305|20240314|2|1";
    QTest::newRow("oldest on top") << 1 << QDate(2023, 12, 1) << QDate(2024, 1, 31) << "880012345|20231201|20240131|1|1";
    QTest::newRow("begin after end, sent unchanged") << 0 << QDate(2024, 3, 14) << QDate(2024, 3, 5) << "880012345|20240314|20240305|2|1";
    QTest::newRow("no order chosen") << -1 << QDate(2020, 2, 29) << QDate(2020, 2, 29) << "880012345|20200229|20200229|-|1";
}

void tst_HistoryRecordWid::request()
{
    QFETCH(int, sortIndex);
    QFETCH(QDate, begin);
    QFETCH(QDate, end);
    QFETCH(QString, request);
    Fixture f;
    QVERIFY(f.start());
    f.sortBox->setCurrentIndex(sortIndex);
    f.begin->setDate(begin);
    f.end->setDate(end);
    QVERIFY(f.run(QStringLiteral("query")));
    QCOMPARE(f.page.sent, QStringList{request});
}

void tst_HistoryRecordWid::queryLock_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("investor");
    QTest::addColumn<QString>("states");   // after the click, half a second later, once enabled again
    QTest::newRow("request sent") << "ready" << "880012345"
                                  << "1 sent, locked" + Loading + "; locked; enabled after 1 s";
    QTest::newRow("request refused") << "ready" << "" << "1 sent, locked | 查询失败，本地错误号:-1; locked; enabled after 1 s";
    QTest::newRow("stopped by the pre-check") << "loggedout" << "880012345" << "0 sent, enabled | 点击查询获取" + Title + "; enabled; enabled after 0 s";
}

// The button is locked for a second per click that passes the pre-check, answer or not.
void tst_HistoryRecordWid::queryLock()
{
    QFETCH(QString, service);
    QFETCH(QString, investor);
    QFETCH(QString, states);
    Fixture f;
    QVERIFY(f.start());
    f.run(QStringLiteral("service ") + service);
    f.account.userData.setDefaultInvestorID(investor);
    const auto lock = [&] { return QString(f.query->isEnabled() ? "enabled" : "locked"); };
    QElapsedTimer clock;
    clock.start();
    ModalScript boxes;
    boxes.pressButton(QStringLiteral("确定"));
    QTest::mouseClick(f.query, Qt::LeftButton);
    QString seen = QStringLiteral("%1 sent, %2 | %3").arg(f.page.sent.size()).arg(lock(), f.tips->text());
    f.run(QStringLiteral("answer 80 last"));
    QTest::qWait(400);
    seen += "; " + lock();
    QTRY_VERIFY_WITH_TIMEOUT(f.query->isEnabled(), 3000);
    QCOMPARE(seen + QStringLiteral("; enabled after %1 s").arg(clock.elapsed() / 950), states);
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
             QStringLiteral("sent 1,2,3,4,5,6, held 710, rows 710, idle, no more, loading all, sortable") + complete(710));
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
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    QStringList lines;
    const auto describe = [&](const QString& when) {
        QTest::qWait(5);
        QStringList parts;
        for (QPushButton* button : {f.query, f.exportButton, f.loadAll})
            parts << QStringLiteral("%1 %2x%3%4").arg(button->text()).arg(button->width()).arg(button->height())
                         .arg(button->isHidden() ? " hidden" : "");
        lines << when + QStringLiteral(": buttons ") + parts.join(QStringLiteral(", "))
              << QStringLiteral("  load all ends %1 px from the right, tips \"%2\"")
                     .arg(f.loadAll->parentWidget()->width() - f.loadAll->geometry().right() - 1).arg(f.tips->text());
        const auto day = [](const QDate& date) {
            const qint64 days = QDate::currentDate().daysTo(date);
            return qAbs(days) < 100 ? QStringLiteral("today%1").arg(days) : date.toString(Qt::ISODate);
        };
        lines << QStringLiteral("  dates %1 to %2, order %3 of %4/%5")
                     .arg(day(f.begin->date()), day(f.end->date())).arg(f.sortBox->currentIndex())
                     .arg(f.sortBox->itemText(0), f.sortBox->itemText(1));
        QAbstractItemModel* model = f.table->model();
        parts.clear();
        for (int c = 0; model && c < model->columnCount(); ++c)
            parts << QStringLiteral("%1 %2").arg(model->headerData(c, Qt::Horizontal).toString()).arg(f.table->columnWidth(c));
        lines << QStringLiteral("  columns %1, titles 0x%2 in a header %3 high, rows %4 high, sorting %5")
                     .arg(parts.isEmpty() ? "none" : parts.join(QStringLiteral(", "))).arg(int(f.table->horizontalHeader()->defaultAlignment()), 0, 16)
                     .arg(f.table->horizontalHeader()->height()).arg(f.table->verticalHeader()->defaultSectionSize())
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
    f.run(QStringLiteral("query"));
    f.run(QStringLiteral("answer 2 last"));
    describe(QStringLiteral("answered"));
    QVERIFY(matchesApproved(QStringLiteral("page/look.txt"), lines));
}

void tst_HistoryRecordWid::zoom_data()
{
    QTest::addColumn<QString>("percents");
    QTest::addColumn<bool>("oneByOne");
    QTest::addColumn<QString>("factorAndZoom");   // every child's font size after / before, then zoomPercent
    for (bool oneByOne : {false, true}) {
        const QByteArray how = oneByOne ? ", one by one" : ", in one go";
        QTest::newRow("150" + how) << "150" << oneByOne << "1.5 150";
        QTest::newRow("150 then 100" + how) << "150 100" << oneByOne << "1 100";
        QTest::newRow("150 twice" + how) << "150 150" << oneByOne << "1.5 150";
        QTest::newRow("200 then 50" + how) << "200 50" << oneByOne << "0.5 50";
        QTest::newRow("zero and negative ignored" + how) << "0 -50" << oneByOne << "1 100";
        QTest::newRow("150 then zero" + how) << "150 0" << oneByOne << "1.5 150";
    }
}

void tst_HistoryRecordWid::zoom()
{
    QFETCH(QString, percents);
    QFETCH(bool, oneByOne);
    QFETCH(QString, factorAndZoom);
    Fixture f;
    QVERIFY(f.start());
    const QList<QWidget*> widgets = f.page.findChildren<QWidget*>();
    QList<qreal> before;
    for (QWidget* widget : widgets)
        before << widget->font().pointSizeF();
    const auto factors = [&] {
        QStringList seen;
        for (int i = 0; i < widgets.size(); ++i)
            seen << QString::number(widgets.at(i)->font().pointSizeF() / before.at(i));
        seen.removeDuplicates();
        return seen.join(QLatin1Char(',')) + QLatin1Char(' ') + QString::number(f.page.zoomPercent);
    };
    for (const QString& percent : percents.split(QLatin1Char(' '))) {
        f.page.setZoomPercent(percent.toInt());
        if (oneByOne)
            QTest::qWait(5);
    }
    if (!oneByOne)
        QCOMPARE(factors(), QStringLiteral("1 100"));   // only scheduled so far
    QTest::qWait(5);
    QCOMPARE(factors(), factorAndZoom);
}

void tst_HistoryRecordWid::cursor_data()
{
    QTest::addColumn<int>("before");   // -1: none set, the host's shows
    QTest::addColumn<int>("event");
    QTest::addColumn<int>("after");
    QTest::newRow("enter, vertical resize") << int(Qt::SizeVerCursor) << int(QEvent::Enter) << int(Qt::ArrowCursor);
    QTest::newRow("enter, horizontal resize") << int(Qt::SizeHorCursor) << int(QEvent::Enter) << int(Qt::ArrowCursor);
    QTest::newRow("enter, diagonal resize kept") << int(Qt::SizeFDiagCursor) << int(QEvent::Enter) << int(Qt::SizeFDiagCursor);
    QTest::newRow("enter, no cursor") << -1 << int(QEvent::Enter) << -1;
    QTest::newRow("leave unsets") << int(Qt::CrossCursor) << int(QEvent::Leave) << -1;
    QTest::newRow("move ignored") << int(Qt::SizeVerCursor) << int(QEvent::MouseMove) << int(Qt::SizeVerCursor);
}

// Sent to the outline widget, so the filter that set-up installs sees them.
void tst_HistoryRecordWid::cursor()
{
    QFETCH(int, before);
    QFETCH(int, event);
    QFETCH(int, after);
    PageTest::Account account(Key, 1);
    QWidget host;
    host.setCursor(Qt::IBeamCursor);
    Page page(&host);
    page.initSubModule();
    if (before >= 0)
        page.setCursor(Qt::CursorShape(before));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(page.findChild<QWidget*>(QStringLiteral("widget_historyordertradewid_outline")),
                                event == QEvent::Enter ? &enter : event == QEvent::Leave ? static_cast<QEvent*>(&leave) : &move);
    QCOMPARE(page.testAttribute(Qt::WA_SetCursor), after >= 0);
    QCOMPARE(int(page.cursor().shape()), after >= 0 ? after : int(Qt::IBeamCursor));
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
        f->run(QStringLiteral("answer 120 last"));
        f->page.setZoomPercent(150);
    }
    DebugLines log;
    delete f;
    QCOMPARE(log.lines(), QStringList{QStringLiteral("~HistoryRecordWid()")});
    QTest::qWait(used ? 1100 : 0);
}

QTEST_MAIN(tst_HistoryRecordWid)
#include "tst_historyrecordwid.moc"
