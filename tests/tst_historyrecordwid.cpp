#include "TestHistoryPage.h"

#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"
#include "service/ValueAddedService.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <memory>

using namespace VEK_SC_Space;

namespace {

const QString ReadyTips = QStringLiteral("点击查询获取") + TestHistoryPage::Title;
const QString LoadingTips = QStringLiteral("正在加载数据...");

QString partialTips(int rows)
{
    return QStringLiteral("下滑滚动条以显示更多记录(已加载%1条)").arg(rows);
}

QString completeTips(int rows)
{
    return QStringLiteral("所有数据已加载完毕(共%1条)").arg(rows);
}

QString notSentTips(int error)
{
    return QStringLiteral("查询失败，本地错误号:") + QString::number(error);
}

// Lets queued calls, the view's delayed layout and zero timers run.
void settle()
{
    QTest::qWait(5);
}

// A stock account registered in UserDataManager for the life of the object, connected and
// logged in, with no service attached: requests are accepted and never answered.
class TestAccount
{
public:
    static constexpr int Key = 4101;

    explicit TestAccount(int accountType = 1)
        : userData(accountType)
    {
        userData.zrvaConnected = true;
        userData.zrvaLoggedIn = true;
        userData.setDefaultInvestorID(QStringLiteral("880012345"));
        UserDataManager::instance()->userDataMap().insert(Key, &userData);
    }
    ~TestAccount() { UserDataManager::instance()->userDataMap().remove(Key); }

    UserData userData;
};

// Records with a code and a volume whose numeric order differs from their text order.
void appendRecords(UserData& account, int count)
{
    static int serial = 0;
    for (int i = 0; i < count; ++i, ++serial) {
        auto* record = new TestRecord{};
        std::snprintf(record->SecurityID, sizeof record->SecurityID, "%06d", serial);
        record->OrderVolume = (serial * 37) % 1000 + 5;
        account.getHistoryOrderList().append(record);
    }
}

struct PageWidgets {
    explicit PageWidgets(QWidget* page)
        : page(page)
    {
    }
    template <class T = QWidget>
    T* get(const char* name) const
    {
        return page->findChild<T*>(QLatin1String(name));
    }

    QWidget* page;
    QWidget* outline = get("widget_historyordertradewid_outline");
    QWidget* toolbar = get("widget_historyordertradewid_toolbar");
    QLabel* tips = get<QLabel>("label_historyordertradewid_tips");
    QPushButton* query = get<QPushButton>("pushButton_historyordertradewid_request");
    QPushButton* exportButton = get<QPushButton>("pushButton_historyordertradewid_export");
    QPushButton* loadAll = get<QPushButton>("pushButton_historyordertradewid_loadall");
    QDateEdit* begin = get<QDateEdit>("dateEdit_historyordertradewid_begdate");
    QDateEdit* end = get<QDateEdit>("dateEdit_historyordertradewid_enddate");
    QComboBox* sort = get<QComboBox>("comboBox_historyordertradewid_sorttype");
    QTableView* table = get<QTableView>("tableView_historyordertradewid");
};

// One account and one page on it, torn down page first.
class PageFixture
{
public:
    explicit PageFixture(int accountType = 1)
        : account(accountType)
        , page(TestAccount::Key)
        , ui(&page)
    {
    }

    bool start(bool show = true)
    {
        page.initSubModule();
        if (!show)
            return true;
        page.show();
        return QTest::qWaitForWindowExposed(&page);
    }

    // Puts `count` new records into the result list and answers the latest request.
    void answer(int count, bool isTotalLast)
    {
        appendRecords(account.userData, count);
        settle();
        emit account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(0, QString(), isTotalLast,
                                                                          account.userData.lastRequestId());
    }

    void answerError(int errorId, const QString& errorMsg)
    {
        settle();
        emit account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(errorId, errorMsg, false,
                                                                          account.userData.lastRequestId());
    }

    void scrollToEnd()
    {
        settle();
        QScrollBar* bar = ui.table->verticalScrollBar();
        bar->setValue(bar->maximum());
        settle();
    }

    int rows() const { return page.proxyModel->rowCount(); }

    TestAccount account;
    TestHistoryPage page;
    PageWidgets ui;
};

// A page inside a host widget, as the client embeds it: an unset page cursor shows the host's.
class EmbeddedPage
{
public:
    static constexpr Qt::CursorShape HostCursor = Qt::IBeamCursor;

    explicit EmbeddedPage(bool initialise = true)
        : page(TestAccount::Key, &host)
        , ui(&page)
    {
        host.setCursor(HostCursor);
        if (initialise)
            page.initSubModule();
    }

    TestAccount account;
    QWidget host;
    TestHistoryPage page;
    PageWidgets ui;
};

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;
    QWidget* parent;
    bool modal;
};

// Watches for modal message boxes while it lives, notes them and presses "确定"; after a few
// seconds it closes any modal so that a test fails instead of hanging.
class BoxCatcher : public QObject
{
public:
    BoxCatcher()
    {
        connect(&timer, &QTimer::timeout, this, &BoxCatcher::poll);
        timer.start(10);
        clock.start();
    }

    QList<SeenBox> seen;

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            SeenBox s{box->windowTitle(), box->text(), box->icon(), {}, box->parentWidget(),
                      box->isModal() || box->windowModality() != Qt::NonModal};
            for (QAbstractButton* button : box->buttons())
                s.buttons.append(button->text().remove(QLatin1Char('&')));
            seen.append(s);
            const int ok = s.buttons.indexOf(QStringLiteral("确定"));
            if (ok >= 0)
                box->buttons().at(ok)->click();
            else
                box->reject();
        } else if (modal && clock.elapsed() > 5000) {
            modal->close();
        }
    }

    QTimer timer;
    QElapsedTimer clock;
};

// Collects the debug lines written while it lives.
class DebugLines
{
public:
    DebugLines()
    {
        lines().clear();
        previous() = qInstallMessageHandler(&DebugLines::handle);
    }
    ~DebugLines() { qInstallMessageHandler(previous()); }

    static QStringList& lines()
    {
        static QStringList collected;
        return collected;
    }
    QStringList startingWith(const QString& prefix) const
    {
        QStringList result;
        std::copy_if(lines().cbegin(), lines().cend(), std::back_inserter(result),
                     [&](const QString& line) { return line.startsWith(prefix); });
        return result;
    }

private:
    static QtMessageHandler& previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtDebugMsg)
            lines().append(message);
        else if (previous())
            previous()(type, context, message);
    }
};

// Answers every translation with "context|source", so a test reads the context a text used.
class ContextTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return QString::fromUtf8(context) + QLatin1Char('|') + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};

// One line per box, so a mismatch shows every difference at once.
QString describe(const SeenBox& box)
{
    return QStringList{box.title, box.text, QString::number(box.icon), box.buttons.join(QLatin1Char(',')),
                       box.parent ? box.parent->objectName() : QString(), box.modal ? "modal" : "modeless"}
        .join(QLatin1Char('|'));
}

// The box a failed query shows: critical, modal on the page, a single "确定".
QString failureBox(const QString& text, QWidget* page)
{
    return describe({QStringLiteral("查询失败"), text, QMessageBox::Critical, {QStringLiteral("确定")}, page, true});
}

struct Batch {
    int count;
    bool isTotalLast;
};
using Batches = QList<Batch>;

QList<QFont> fontsOf(const QList<QWidget*>& widgets)
{
    QList<QFont> fonts;
    for (QWidget* widget : widgets)
        fonts.append(widget->font());
    return fonts;
}

} // namespace

Q_DECLARE_METATYPE(Batch)

class tst_HistoryRecordWid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void metaObjectContract();

    void widgetTree();
    void buttonsKeepTheirSize_data();
    void buttonsKeepTheirSize();
    void beforeInit();
    void afterInit();
    void translationContexts();

    void zoom_data();
    void zoom();
    void destroyedPageDropsPendingWork();

    void cursorFilter_data();
    void cursorFilter();
    void cursorFilterInstalledByInit();

    void queryRequest_data();
    void queryRequest();
    void queryNotSent();
    void buttonsReachTheirSlots();
    void answerLead_data();
    void answerLead();
    void scrollLead_data();
    void scrollLead();
    void staleAnswers_data();
    void staleAnswers();
    void errorAnswer_data();
    void errorAnswer();
    void preCheck_data();
    void preCheck();
    void loadAll_data();
    void loadAll();
    void closeEndsLoadAll_data();
    void closeEndsLoadAll();
    void queryLock_data();
    void queryLock();
    void sortingOnlyWhenComplete();
    void answersFromAnotherThread();
    void modelsUnderTester();
    void destruction();

    void serviceFullCycle_data();
    void serviceFullCycle();
    void servicePreCheck_data();
    void servicePreCheck();
    void serviceError();
};

void tst_HistoryRecordWid::initTestCase()
{
    // Column choices live in QSettings; keep this suite's apart from everything else.
    QCoreApplication::setOrganizationName(QStringLiteral("tst_historyrecordwid"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_historyrecordwid"));
    TableHeader::clearColumnChoice(QStringLiteral("TestPageColumns"));
}

void tst_HistoryRecordWid::init()
{
    QLocale::setDefault(QLocale::c());
}

// The class name and the slots in their order are what a client sees of the page.
void tst_HistoryRecordWid::metaObjectContract()
{
    const QMetaObject& page = HistoryRecordWid::staticMetaObject;
    QCOMPARE(page.className(), "VEK_SC_Space::HistoryRecordWid");
    QCOMPARE(page.superClass(), &ISubModuleWid::staticMetaObject);
    QCOMPARE(ISubModuleWid::staticMetaObject.className(), "VEK_SC_Space::ISubModuleWid");
    QCOMPARE(ISubModuleWid::staticMetaObject.methodCount(), QWidget::staticMetaObject.methodCount());
    QCOMPARE(ISubModuleWid::staticMetaObject.propertyCount(), QWidget::staticMetaObject.propertyCount());

    QStringList slotNames;
    for (int i = page.methodOffset(); i < page.methodCount(); ++i) {
        QCOMPARE(page.method(i).methodType(), QMetaMethod::Slot);
        slotNames.append(QString::fromLatin1(page.method(i).methodSignature()));
    }
    const QStringList expected = {
        QStringLiteral("slot_myModel_numberPopulated(bool,int)"),
        QStringLiteral("on_pushButton_historyordertradewid_request_clicked()"),
        QStringLiteral("on_pushButton_historyordertradewid_export_clicked()"),
        QStringLiteral("on_pushButton_historyordertradewid_loadall_clicked()"),
        QStringLiteral("slot_InquiryHistoryFinished(int,QString,bool,int)"),
    };
    QCOMPARE(slotNames, expected);
}

void tst_HistoryRecordWid::widgetTree()
{
    PageFixture f;
    QStringList tree;
    std::function<void(QWidget*, const QString&)> dump = [&](QWidget* widget, const QString& indent) {
        tree << indent + widget->metaObject()->className() + QLatin1Char(' ') + widget->objectName()
                    + (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)
                           ? QStringLiteral(" \"%1\"").arg(widget->property("text").toString())
                           : QString());
        if (widget != &f.page)
            QCOMPARE(f.page.findChildren<QWidget*>(widget->objectName()).size(), 1);
        QLayout* layout = widget->layout();
        if (!layout)
            return;
        const QMargins m = layout->contentsMargins();
        tree << indent + QStringLiteral("  %1 %2 %3 (%4 %5 %6 %7)")
                             .arg(layout->metaObject()->className(), layout->objectName())
                             .arg(layout->spacing()).arg(m.left()).arg(m.top()).arg(m.right()).arg(m.bottom());
        for (int i = 0; i < layout->count(); ++i) {
            QWidget* child = layout->itemAt(i)->widget();
            if (!child) {
                tree << indent + QStringLiteral("    <spacer>");
                continue;
            }
            QCOMPARE(child->parentWidget(), widget);
            dump(child, indent + QStringLiteral("    "));
        }
    };
    dump(&f.page, QString());
    QCOMPARE(tree, (QStringList{
        "VEK_SC_Space::HistoryRecordWid HistoryRecordWid",
        "  QVBoxLayout verticalLayout_2 0 (0 0 0 0)",
        "    QWidget widget_historyordertradewid_outline",
        "      QVBoxLayout verticalLayout 0 (0 0 0 0)",
        "        QWidget widget_historyordertradewid_toolbar",
        "          QHBoxLayout horizontalLayout_4 6 (9 9 9 9)",
        "            QWidget widget_historyordertradewid_req",
        "              QHBoxLayout horizontalLayout_2 15 (0 0 0 0)",
        "                QWidget widget_historyordertradewid_selectdate",
        "                  QHBoxLayout horizontalLayout 3 (0 0 0 0)",
        "                    QLabel label_historyordertradewid_selectdate_title \"日期\"",
        "                    QDateEdit dateEdit_historyordertradewid_begdate",
        "                    QLabel label_historyordertradewid_selectdate_to \"至\"",
        "                    QDateEdit dateEdit_historyordertradewid_enddate",
        "                QWidget widget_historyordertradewid_sorttype",
        "                  QHBoxLayout horizontalLayout_3 3 (0 0 0 0)",
        "                    QLabel label_historyordertradewid_sorttype_title \"顺序\"",
        "                    QComboBox comboBox_historyordertradewid_sorttype",
        "                QPushButton pushButton_historyordertradewid_request \"查   询\"",
        "            QPushButton pushButton_historyordertradewid_export \"导   出\"",
        "            QLabel label_historyordertradewid_tips \"\"",
        "            <spacer>",
        "            QPushButton pushButton_historyordertradewid_loadall \"全部加载\"",
        "        QWidget widget_historyordertradewid_table",
        "          QVBoxLayout verticalLayout_neworderwid_table 6 (5 0 5 5)",
        "            VEK_SC_Space::HistoryTableView tableView_historyordertradewid",
    }));

    QCOMPARE(f.page.objectName(), QStringLiteral("HistoryRecordWid"));
    QCOMPARE(f.page.windowTitle(), QStringLiteral("HistoryRecordWid"));
    QCOMPARE(f.page.size(), QSize(1079, 537));
    QCOMPARE(f.page.layout()->sizeConstraint(), QLayout::SetNoConstraint);

    QCOMPARE(f.ui.sort->count(), 2);
    QCOMPARE(f.ui.sort->itemText(0), QStringLiteral("新纪录在上"));
    QCOMPARE(f.ui.sort->itemText(1), QStringLiteral("旧记录在上"));
    QCOMPARE(f.ui.sort->minimumSize(), QSize(100, 0));

    const QString platformFormat = QDateEdit().displayFormat();
    for (QDateEdit* edit : {f.ui.begin, f.ui.end}) {
        QVERIFY(edit->calendarPopup());
        QCOMPARE(edit->displayFormat(), platformFormat);
    }

    for (QPushButton* button : {f.ui.query, f.ui.exportButton, f.ui.loadAll}) {
        QCOMPARE(button->sizePolicy(), QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed));
        QCOMPARE(button->minimumSize(), QSize(80, 23));
        QCOMPARE(button->maximumSize(), QSize(80, 23));
    }

    QSpacerItem* spacer = f.ui.toolbar->layout()->itemAt(3)->spacerItem();
    QVERIFY(spacer);
    QCOMPARE(spacer->sizeHint(), QSize(10, 20));
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
}

void tst_HistoryRecordWid::buttonsKeepTheirSize_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("roomForAll");

    QTest::newRow("designed width") << 1079 << true;
    QTest::newRow("wide") << 1600 << true;
    QTest::newRow("narrow") << 420 << false;
}

void tst_HistoryRecordWid::buttonsKeepTheirSize()
{
    QFETCH(int, width);
    QFETCH(bool, roomForAll);

    PageFixture f;   // not initialised: Load all is still visible
    f.page.resize(width, 537);
    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    settle();

    for (QPushButton* button : {f.ui.query, f.ui.exportButton, f.ui.loadAll})
        QCOMPARE(button->size(), QSize(80, 23));

    if (roomForAll) {
        // Everything but the spacer stays at its preferred width; the spacer takes the rest
        // and pushes Load all against the right margin.
        QWidget* req = f.page.findChild<QWidget*>(QStringLiteral("widget_historyordertradewid_req"));
        QCOMPARE(req->width(), req->sizeHint().width());
        QCOMPARE(f.ui.tips->width(), f.ui.tips->sizeHint().width());
        QCOMPARE(f.ui.loadAll->geometry().right(), f.ui.toolbar->width() - 9 - 1);
        // A box layout puts no spacing in front of a spacer item.
        const QRect spacer = f.ui.toolbar->layout()->itemAt(3)->geometry();
        QCOMPARE(spacer.width(), f.ui.loadAll->x() - 6 - (f.ui.tips->geometry().right() + 1));
        QVERIFY(spacer.width() > 10);
    }
}

void tst_HistoryRecordWid::beforeInit()
{
    PageFixture f;
    QVERIFY(!f.page.model && !f.page.proxyModel && !f.page.tableHeader);
    QCOMPARE(f.page.tableHeadersCreated + f.page.responseConnections, 0);
    QCOMPARE(f.page.title, TestHistoryPage::Title);
    QCOMPARE(f.page.userData, &f.account.userData);
    QCOMPARE(f.page.accountType, 1);
    QCOMPARE(f.page.requestId + f.page.batchNo, 0);
    QVERIFY(f.page.isTotalLast && !f.page.loadAllRequested);
    QVERIFY(f.page.records.isEmpty() && f.page.showColumns.isEmpty());

    f.page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.page));
    QVERIFY(f.ui.loadAll->isVisible());
    QVERIFY(f.ui.tips->text().isEmpty());
    QVERIFY(!f.ui.table->model() || f.ui.table->model()->columnCount() == 0);
}

void tst_HistoryRecordWid::afterInit()
{
    PageFixture f(2);
    const QDate before = QDate::currentDate();
    QVERIFY(f.start());
    const QDate after = QDate::currentDate();

    ISubModuleWid& host = f.page;
    QCOMPARE(host.zoomPercent, 100);
    host.subModuleHook();
    QCOMPARE((QList<bool>{host.hostFlag1(), host.hostFlag2(), host.hostFlag3(), host.hostFlag4()}),
             (QList<bool>{false, false, true, false}));
    QCOMPARE(f.page.accountType, 2);
    QCOMPARE(f.page.requestId, 0);
    QVERIFY(f.page.sent.isEmpty());
    QCOMPARE(f.ui.tips->text(), ReadyTips);
    QVERIFY(f.ui.loadAll->isHidden());
    QVERIFY(f.ui.query->isEnabled() && f.ui.exportButton->isEnabled());
    QVERIFY(f.page.testAttribute(Qt::WA_MouseTracking));
    const QDate today = f.ui.end->date().addDays(1);
    QVERIFY(today == before || today == after);
    QCOMPARE(f.ui.begin->date(), today.addDays(-10));
    QCOMPARE(f.ui.sort->currentIndex(), 0);

    // A plain list view, not the combo box's own subclass.
    QVERIFY(f.ui.sort->view());
    QCOMPARE(f.ui.sort->view()->metaObject(), &QListView::staticMetaObject);

    auto* model = qobject_cast<myHistoryModel*>(f.page.model);
    QVERIFY(model);
    QVERIFY(!model->parent());
    QCOMPARE(model->name(), QStringLiteral("HistoryTable"));
    QCOMPARE(model->accountKey(), TestAccount::Key);
    QVERIFY(f.page.proxyModel);
    QCOMPARE(f.page.proxyModel->parent(), &f.page);
    QCOMPARE(f.page.proxyModel->sourceModel(), model);
    QCOMPARE(f.page.proxyModel->sortRole(), int(Qt::UserRole));
    QCOMPARE(f.ui.table->model(), f.page.proxyModel);

    QHeaderView* hHeader = f.ui.table->horizontalHeader();
    QCOMPARE(hHeader->objectName(), QStringLiteral("historyordertradewid_hHeader"));
    QCOMPARE(int(hHeader->defaultAlignment()), 0x84);
    QVERIFY(!hHeader->stretchLastSection());
    QCOMPARE(hHeader->minimumSectionSize(), 50);
    QCOMPARE(QSize(hHeader->minimumHeight(), hHeader->maximumHeight()), QSize(23, 23));
    QCOMPARE(hHeader->height(), 23);
    QVERIFY(!hHeader->highlightSections());

    QHeaderView* vHeader = f.ui.table->verticalHeader();
    QCOMPARE(vHeader->objectName(), QStringLiteral("historyordertradewid_vHeader"));
    QCOMPARE(vHeader->defaultSectionSize(), 23);

    QCOMPARE(f.ui.table->focusPolicy(), Qt::NoFocus);
    QCOMPARE(f.ui.table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(f.ui.table->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(f.ui.table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(f.ui.table->hasMouseTracking());
    QCOMPARE(f.ui.table->contextMenuPolicy(), Qt::CustomContextMenu);
    QVERIFY(!f.ui.table->isSortingEnabled());

    // Only the columns the set shows by default, with their titles and widths.
    QCOMPARE(f.page.showColumns, f.page.tableHeader->getShowColumns());
    QCOMPARE(f.page.showColumns.size(), 2);
    QCOMPARE(f.page.proxyModel->columnCount(), 2);
    QCOMPARE(f.page.proxyModel->rowCount(), 0);
    const QStringList titles = {QStringLiteral("证券代码"), QStringLiteral("委托数量")};
    const QList<int> widths = {90, 120};
    for (int i = 0; i < titles.size(); ++i) {
        QCOMPARE(f.page.proxyModel->headerData(i, Qt::Horizontal).toString(), titles.at(i));
        QCOMPARE(f.ui.table->columnWidth(i), widths.at(i));
        QVERIFY(!f.ui.table->isColumnHidden(i));
    }

    // A second call changes nothing.
    QAbstractItemModel* proxy = f.page.proxyModel;
    TableHeader* header = f.page.tableHeader;
    f.ui.begin->setDate(QDate(2024, 1, 2));
    f.ui.tips->setText(QStringLiteral("x"));
    f.page.initSubModule();
    QCOMPARE(f.page.tableHeadersCreated, 1);
    QCOMPARE(f.page.responseConnections, 1);
    QCOMPARE(f.page.model, model);
    QCOMPARE(f.page.proxyModel, proxy);
    QCOMPARE(f.page.tableHeader, header);
    QCOMPARE(f.ui.begin->date(), QDate(2024, 1, 2));
    QCOMPARE(f.ui.tips->text(), QStringLiteral("x"));
}

void tst_HistoryRecordWid::translationContexts()
{
    ContextTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const auto removeTranslator = qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });

    PageFixture f;
    QVERIFY(f.start());
    const QString form = QStringLiteral("HistoryRecordWid|");
    const QString code = QStringLiteral("VEK_SC_Space::HistoryRecordWid|");
    QCOMPARE(f.page.windowTitle(), form + QStringLiteral("HistoryRecordWid"));
    QCOMPARE(f.ui.query->text(), form + QStringLiteral("查   询"));
    QCOMPARE(f.ui.sort->itemText(1), form + QStringLiteral("旧记录在上"));
    QCOMPARE(f.ui.tips->text(), code + QStringLiteral("点击查询获取") + TestHistoryPage::Title);

    f.account.userData.zrvaConnected = false;
    BoxCatcher boxes;
    f.ui.query->click();
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.first().title, code + QStringLiteral("查询失败"));
    QCOMPARE(boxes.seen.first().text, code + QStringLiteral("增值服务未连接，请稍后重试或重启客户端。"));
    QCOMPARE(boxes.seen.first().buttons, QStringList{code + QStringLiteral("确定")});
}

void tst_HistoryRecordWid::zoom_data()
{
    QTest::addColumn<QVector<int>>("percents");
    QTest::addColumn<bool>("settleBetween");
    QTest::addColumn<double>("factor");
    QTest::addColumn<int>("zoomPercent");

    for (bool between : {false, true}) {
        const QByteArray suffix = between ? ", one by one" : ", in one go";
        QTest::newRow("150" + suffix) << QVector<int>{150} << between << 1.5 << 150;
        QTest::newRow("150 then 100" + suffix) << QVector<int>{150, 100} << between << 1.0 << 100;
        QTest::newRow("150 twice" + suffix) << QVector<int>{150, 150} << between << 1.5 << 150;
        QTest::newRow("200 then 50" + suffix) << QVector<int>{200, 50} << between << 0.5 << 50;
        QTest::newRow("zero ignored" + suffix) << QVector<int>{0} << between << 1.0 << 100;
        QTest::newRow("negative ignored" + suffix) << QVector<int>{-50} << between << 1.0 << 100;
        QTest::newRow("150 then zero" + suffix) << QVector<int>{150, 0} << between << 1.5 << 150;
    }
}

void tst_HistoryRecordWid::zoom()
{
    QFETCH(QVector<int>, percents);
    QFETCH(bool, settleBetween);
    QFETCH(double, factor);
    QFETCH(int, zoomPercent);

    PageFixture f;
    QVERIFY(f.start());
    const QList<QWidget*> widgets = f.page.findChildren<QWidget*>();
    const QList<QFont> before = fontsOf(widgets);
    const QFont pageFont = f.page.font();

    for (int percent : percents) {
        f.page.setZoomPercent(percent);
        if (settleBetween)
            settle();
    }
    if (!settleBetween) {
        // Only scheduled so far.
        QCOMPARE(fontsOf(widgets), before);
        QCOMPARE(f.page.zoomPercent, 100);
    }
    settle();

    QCOMPARE(f.page.zoomPercent, zoomPercent);
    QCOMPARE(f.page.font(), pageFont);
    const QList<QFont> after = fontsOf(widgets);
    for (int i = 0; i < widgets.size(); ++i) {
        const QString what = widgets.at(i)->objectName() + QLatin1Char(' ') + widgets.at(i)->metaObject()->className();
        QVERIFY2(qFuzzyCompare(after.at(i).pointSizeF(), before.at(i).pointSizeF() * factor),
                 qPrintable(what + QStringLiteral(": %1 -> %2").arg(before.at(i).pointSizeF()).arg(after.at(i).pointSizeF())));
    }
}

void tst_HistoryRecordWid::destroyedPageDropsPendingWork()
{
    QWidget holder;
    QLabel sibling(QStringLiteral("sibling"), &holder);
    const QFont siblingFont = sibling.font();
    const QFont holderFont = holder.font();
    {
        TestAccount account;
        QPointer<TestHistoryPage> page = new TestHistoryPage(TestAccount::Key, &holder);
        page->initSubModule();
        page->setZoomPercent(150);
        page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
        delete page;
        QVERIFY(page.isNull());
    }
    // Both the rescale and the Query button's re-enable were bound to the page.
    QTest::qWait(1200);
    QCOMPARE(sibling.font(), siblingFont);
    QCOMPARE(holder.font(), holderFont);
    QCOMPARE(holder.findChildren<QWidget*>().size(), 1);
}

void tst_HistoryRecordWid::cursorFilter_data()
{
    QTest::addColumn<bool>("onOutline");
    QTest::addColumn<int>("cursorBefore");   // -1: no cursor set
    QTest::addColumn<int>("eventType");
    QTest::addColumn<int>("cursorAfter");

    QTest::newRow("enter, vertical resize") << true << int(Qt::SizeVerCursor) << int(QEvent::Enter) << int(Qt::ArrowCursor);
    QTest::newRow("enter, horizontal resize") << true << int(Qt::SizeHorCursor) << int(QEvent::Enter) << int(Qt::ArrowCursor);
    QTest::newRow("enter, diagonal resize kept") << true << int(Qt::SizeFDiagCursor) << int(QEvent::Enter) << int(Qt::SizeFDiagCursor);
    QTest::newRow("enter, all-direction resize kept") << true << int(Qt::SizeAllCursor) << int(QEvent::Enter) << int(Qt::SizeAllCursor);
    QTest::newRow("enter, pointing hand kept") << true << int(Qt::PointingHandCursor) << int(QEvent::Enter) << int(Qt::PointingHandCursor);
    QTest::newRow("enter, no cursor") << true << -1 << int(QEvent::Enter) << -1;
    QTest::newRow("leave, vertical resize") << true << int(Qt::SizeVerCursor) << int(QEvent::Leave) << -1;
    QTest::newRow("leave, cross") << true << int(Qt::CrossCursor) << int(QEvent::Leave) << -1;
    QTest::newRow("move ignored") << true << int(Qt::SizeVerCursor) << int(QEvent::MouseMove) << int(Qt::SizeVerCursor);
    QTest::newRow("enter on toolbar ignored") << false << int(Qt::SizeVerCursor) << int(QEvent::Enter) << int(Qt::SizeVerCursor);
    QTest::newRow("leave on toolbar ignored") << false << int(Qt::CrossCursor) << int(QEvent::Leave) << int(Qt::CrossCursor);
}

void tst_HistoryRecordWid::cursorFilter()
{
    QFETCH(bool, onOutline);
    QFETCH(int, cursorBefore);
    QFETCH(int, eventType);
    QFETCH(int, cursorAfter);

    EmbeddedPage f;
    if (cursorBefore >= 0)
        f.page.setCursor(Qt::CursorShape(cursorBefore));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QEvent leave(QEvent::Leave);
    QEvent* event = eventType == QEvent::Enter ? &enter : eventType == QEvent::Leave ? &leave : &move;
    QObject* filter = &f.page;
    QVERIFY(!filter->eventFilter(onOutline ? f.ui.outline : f.ui.toolbar, event));

    // Unset, the page shows the host's cursor.
    QCOMPARE(f.page.testAttribute(Qt::WA_SetCursor), cursorAfter >= 0);
    QCOMPARE(int(f.page.cursor().shape()), cursorAfter >= 0 ? cursorAfter : int(EmbeddedPage::HostCursor));
}

void tst_HistoryRecordWid::cursorFilterInstalledByInit()
{
    EmbeddedPage f(false);
    f.page.setCursor(Qt::SizeVerCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.ui.outline, &leave);
    QCOMPARE(f.page.cursor().shape(), Qt::SizeVerCursor);

    f.page.initSubModule();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(f.ui.outline, &enter);
    QCOMPARE(f.page.cursor().shape(), Qt::ArrowCursor);
    QCoreApplication::sendEvent(f.ui.outline, &leave);
    QVERIFY(!f.page.testAttribute(Qt::WA_SetCursor));
    QCOMPARE(f.page.cursor().shape(), EmbeddedPage::HostCursor);
}

void tst_HistoryRecordWid::queryRequest_data()
{
    QTest::addColumn<int>("sortIndex");
    QTest::addColumn<QDate>("begin");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("sortType");
    QTest::addColumn<QString>("beginText");
    QTest::addColumn<QString>("endText");

    QTest::newRow("newest on top") << 0 << QDate(2024, 3, 5) << QDate(2024, 3, 14) << int('2') << "20240305" << "20240314";
    QTest::newRow("oldest on top") << 1 << QDate(2023, 12, 1) << QDate(2024, 1, 31) << int('1') << "20231201" << "20240131";
    QTest::newRow("begin after end, sent unchanged") << 0 << QDate(2024, 3, 14) << QDate(2024, 3, 5) << int('2')
                                                     << "20240314" << "20240305";
    QTest::newRow("same day") << 1 << QDate(2020, 2, 29) << QDate(2020, 2, 29) << int('1') << "20200229" << "20200229";
}

void tst_HistoryRecordWid::queryRequest()
{
    QFETCH(int, sortIndex);
    QFETCH(QDate, begin);
    QFETCH(QDate, end);
    QFETCH(int, sortType);
    QFETCH(QString, beginText);
    QFETCH(QString, endText);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.sort->setCurrentIndex(sortIndex);
    f.ui.begin->setDate(begin);
    f.ui.end->setDate(end);

    f.ui.query->click();

    QCOMPARE(f.page.sent.size(), 1);
    const TestHistoryPage::Request& request = f.page.sent.first();
    QCOMPARE(request.investorId, QStringLiteral("880012345"));
    QCOMPARE(request.beginDate, beginText);
    QCOMPARE(request.endDate, endText);
    QCOMPARE(int(request.sortType), sortType);
    QCOMPARE(request.batchNo, 1);
    // Fetching: the id that UserData wrote is the one awaited.
    QVERIFY(f.page.requestId > 0);
    QCOMPARE(f.page.requestId, f.account.userData.lastRequestId());
    QCOMPARE(f.page.batchNo, 1);
    QVERIFY(!f.page.isTotalLast);
    QCOMPARE(f.ui.tips->text(), LoadingTips);
    QVERIFY(f.ui.loadAll->isHidden());
    QCOMPARE(f.rows(), 0);
}

void tst_HistoryRecordWid::queryNotSent()
{
    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    f.answer(80, true);
    QCOMPARE(f.rows(), 80);

    // No sort order chosen: the request goes out with sort character 0 and UserData refuses it.
    f.ui.sort->setCurrentIndex(-1);
    f.page.on_pushButton_historyordertradewid_request_clicked();

    QCOMPARE(f.page.sent.size(), 2);
    QCOMPARE(int(f.page.sent.last().sortType), 0);
    QCOMPARE(f.ui.tips->text(), notSentTips(UserData::ErrorBadSortType));
    QCOMPARE(f.page.requestId, -1);
    QCOMPARE(f.page.batchNo, 0);
    QVERIFY(f.page.records.isEmpty());
    QVERIFY(f.account.userData.getHistoryOrderList().isEmpty());
    QCOMPARE(f.rows(), 0);

    // A refused investor id shows its own number.
    f.ui.sort->setCurrentIndex(0);
    f.account.userData.setDefaultInvestorID(QString());
    f.page.on_pushButton_historyordertradewid_request_clicked();
    QCOMPARE(f.ui.tips->text(), notSentTips(UserData::ErrorBadInvestorId));
    QCOMPARE(f.page.batchNo, 0);
}

void tst_HistoryRecordWid::buttonsReachTheirSlots()
{
    PageFixture f;
    QVERIFY(f.start());
    QTest::mouseClick(f.ui.query, Qt::LeftButton);
    QCOMPARE(f.page.sent.size(), 1);
    f.answer(350, false);
    QVERIFY(f.ui.loadAll->isVisible());
    DebugLines log;
    QTest::mouseClick(f.ui.loadAll, Qt::LeftButton);
    QVERIFY(f.page.loadAllRequested);
    QCOMPARE(log.startingWith(QStringLiteral("updateTimes")), QStringList{QStringLiteral("updateTimes = 3")});
    // More may come: the export asks first, and its Cancel changes nothing of the query.
    BoxCatcher boxes;
    QTest::mouseClick(f.ui.exportButton, Qt::LeftButton);
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.first().text, QStringLiteral("数据尚未全部加载完成，是否仍要导出？"));
    QCOMPARE(f.page.sent.size(), 2);
    QCOMPARE(f.rows(), 350);
}

void tst_HistoryRecordWid::answerLead_data()
{
    QTest::addColumn<Batches>("batches");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("tips");
    QTest::addColumn<bool>("loadAllVisible");
    QTest::addColumn<bool>("sorting");

    QTest::newRow("80, last") << Batches{{80, true}} << 1 << 80 << completeTips(80) << false << true;
    QTest::newRow("100, last") << Batches{{100, true}} << 1 << 100 << completeTips(100) << false << true;
    QTest::newRow("150, last") << Batches{{150, true}} << 1 << 100 << partialTips(100) << true << false;
    QTest::newRow("150, more to come") << Batches{{150, false}} << 2 << 0 << LoadingTips << false << false;
    QTest::newRow("199, more to come") << Batches{{199, false}} << 2 << 0 << LoadingTips << false << false;
    QTest::newRow("200, more to come") << Batches{{200, false}} << 1 << 100 << partialTips(100) << true << false;
    QTest::newRow("150 then 80") << Batches{{150, false}, {80, false}} << 2 << 100 << partialTips(100) << true << false;
    QTest::newRow("150 then 30, last") << Batches{{150, false}, {30, true}} << 2 << 100 << partialTips(100) << true << false;
    QTest::newRow("50, 50, 50, 50") << Batches{{50, false}, {50, false}, {50, false}, {50, false}} << 4 << 100
                                    << partialTips(100) << true << false;
    QTest::newRow("60 then 20, last") << Batches{{60, false}, {20, true}} << 2 << 80 << completeTips(80) << false << true;
    QTest::newRow("empty, last") << Batches{{0, true}} << 1 << 0 << completeTips(0) << false << true;
    QTest::newRow("100 then empty, last") << Batches{{100, false}, {0, true}} << 2 << 100 << completeTips(100) << false << true;
}

void tst_HistoryRecordWid::answerLead()
{
    QFETCH(Batches, batches);
    QFETCH(int, requests);
    QFETCH(int, rows);
    QFETCH(QString, tips);
    QFETCH(bool, loadAllVisible);
    QFETCH(bool, sorting);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    int received = 0;
    for (const Batch& batch : batches) {
        f.answer(batch.count, batch.isTotalLast);
        received += batch.count;
    }
    settle();

    QCOMPARE(f.page.sent.size(), requests);
    for (int i = 0; i < requests; ++i)
        QCOMPARE(f.page.sent.at(i).batchNo, i + 1);
    QCOMPARE(f.page.batchNo, requests);
    QCOMPARE(f.page.records.size(), received);
    QCOMPARE(f.page.model->rowCount(), rows);
    QCOMPARE(f.rows(), rows);
    QCOMPARE(f.ui.tips->text(), tips);
    QCOMPARE(f.ui.loadAll->isVisible(), loadAllVisible);
    QCOMPARE(f.ui.table->isSortingEnabled(), sorting);
    // Another batch is awaited exactly when one was requested after the last answer.
    QCOMPARE(f.page.requestId == -1, requests == batches.size());
}

void tst_HistoryRecordWid::scrollLead_data()
{
    QTest::addColumn<int>("received");
    QTest::addColumn<bool>("isTotalLast");
    QTest::addColumn<bool>("requested");
    QTest::addColumn<QString>("tips");

    QTest::newRow("230 held, 70 left") << 230 << false << true << partialTips(200);
    QTest::newRow("300 held, 100 left") << 300 << false << true << partialTips(200);
    QTest::newRow("301 held, 101 left") << 301 << false << false << partialTips(200);
    QTest::newRow("450 held") << 450 << false << false << partialTips(200);
    QTest::newRow("230, last") << 230 << true << false << partialTips(200);
    QTest::newRow("200, last") << 200 << true << false << completeTips(200);
}

void tst_HistoryRecordWid::scrollLead()
{
    QFETCH(int, received);
    QFETCH(bool, isTotalLast);
    QFETCH(bool, requested);
    QFETCH(QString, tips);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    f.answer(received, isTotalLast);
    QCOMPARE(f.rows(), 100);
    QCOMPARE(f.page.sent.size(), 1);

    QSignalSpy populated(f.page.model, &myHistoryModel::numberPopulated);
    f.scrollToEnd();

    QCOMPARE(populated.size(), 1);
    QCOMPARE(populated.first().at(0).toBool(), true);   // the view asked for more
    QCOMPARE(f.rows(), 200);
    QCOMPARE(f.ui.tips->text(), tips);
    QCOMPARE(f.page.sent.size(), requested ? 2 : 1);
    QCOMPARE(f.page.requestId == f.account.userData.lastRequestId(), requested);
}

void tst_HistoryRecordWid::staleAnswers_data()
{
    QTest::addColumn<int>("staleId");   // 1: the previous query's id, 2: a later unknown one

    QTest::newRow("answer to the previous query") << 1;
    QTest::newRow("unknown later id") << 2;
    QTest::newRow("minus one") << -1;
    QTest::newRow("zero") << 0;
}

void tst_HistoryRecordWid::staleAnswers()
{
    QFETCH(int, staleId);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    const int firstId = f.page.requestId;
    f.page.on_pushButton_historyordertradewid_request_clicked();
    const int awaited = f.page.requestId;
    QVERIFY(awaited != firstId);

    appendRecords(f.account.userData, 250);
    staleId = staleId == 1 ? firstId : staleId == 2 ? awaited + 1000 : staleId;
    BoxCatcher boxes;
    emit f.account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(0, QString(), true, staleId);
    emit f.account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(7, QStringLiteral("x"), true, staleId);
    settle();

    QVERIFY(boxes.seen.isEmpty());
    QCOMPARE(f.page.requestId, awaited);
    QVERIFY(f.page.records.isEmpty());
    QVERIFY(!f.page.isTotalLast);
    QCOMPARE(f.ui.tips->text(), LoadingTips);
    QCOMPARE(f.page.sent.size(), 2);
    QCOMPARE(f.rows(), 0);

    // The awaited answer still counts.
    emit f.account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(0, QString(), true, awaited);
    QCOMPARE(f.page.records.size(), 250);
    QCOMPARE(f.rows(), 100);
}

void tst_HistoryRecordWid::errorAnswer_data()
{
    QTest::addColumn<int>("errorId");
    QTest::addColumn<QString>("errorMsg");
    QTest::addColumn<bool>("duringLoadAll");

    QTest::newRow("error with text") << 5 << "服务繁忙" << false;
    QTest::newRow("negative, no text") << -3 << "" << false;
    QTest::newRow("text with line break") << 1001 << "第一行\n第二行" << false;
    QTest::newRow("during Load all") << 9 << "断开" << true;
}

void tst_HistoryRecordWid::errorAnswer()
{
    QFETCH(int, errorId);
    QFETCH(QString, errorMsg);
    QFETCH(bool, duringLoadAll);

    // Either 150 held and a second batch asked for by the lead, or 350 all shown by Load all.
    const int held = duringLoadAll ? 350 : 150;
    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    f.answer(held, false);
    if (duringLoadAll)
        f.ui.loadAll->click();
    QCOMPARE(f.page.sent.size(), 2);
    const int shown = f.rows();
    QCOMPARE(shown, duringLoadAll ? held : 0);

    BoxCatcher boxes;
    f.answerError(errorId, errorMsg);

    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(describe(boxes.seen.first()),
             failureBox(TestHistoryPage::Title + QStringLiteral("查询失败\n错误号: ") + QString::number(errorId)
                            + QStringLiteral("\n错误信息: ") + errorMsg,
                        &f.page));

    // Failed: the records already received stay, nothing more is requested.
    QCOMPARE(f.ui.tips->text(), TestHistoryPage::Title + QStringLiteral("查询错误"));
    QVERIFY(f.page.isTotalLast);
    QCOMPARE(f.page.requestId, -1);
    QCOMPARE(f.page.records.size(), held);
    QCOMPARE(f.rows(), shown);
    QCOMPARE(f.page.sent.size(), 2);
    QCOMPARE(f.page.loadAllRequested, duringLoadAll);
    QCOMPARE(f.ui.loadAll->isVisible(), duringLoadAll);
}

void tst_HistoryRecordWid::preCheck_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<QString>("text");

    QTest::newRow("not connected") << false << true << "增值服务未连接，请稍后重试或重启客户端。";
    QTest::newRow("not logged in") << true << false << "增值服务未登录，请稍后重试或重启客户端。";
    QTest::newRow("neither, connection first") << false << false << "增值服务未连接，请稍后重试或重启客户端。";
}

void tst_HistoryRecordWid::preCheck()
{
    QFETCH(bool, connected);
    QFETCH(bool, loggedIn);
    QFETCH(QString, text);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    f.answer(80, true);
    QCOMPARE(f.rows(), 80);
    QTest::qWait(1100);   // the Query button's lock from the first click
    QVERIFY(f.ui.query->isEnabled());

    f.account.userData.zrvaConnected = connected;
    f.account.userData.zrvaLoggedIn = loggedIn;
    BoxCatcher boxes;
    f.ui.query->click();

    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(describe(boxes.seen.first()), failureBox(text, &f.page));

    // Records were cleared before the check; label and button stay as they were.
    QVERIFY(f.page.records.isEmpty());
    QVERIFY(f.account.userData.getHistoryOrderList().isEmpty());
    QCOMPARE(f.rows(), 0);
    QCOMPARE(f.page.sent.size(), 1);
    QCOMPARE(f.ui.tips->text(), completeTips(80));
    QVERIFY(f.ui.query->isEnabled());
    QVERIFY(!f.ui.table->isSortingEnabled());
}

void tst_HistoryRecordWid::loadAll_data()
{
    QTest::addColumn<Batches>("before");   // answered before Load all
    QTest::addColumn<Batches>("after");    // answered after it
    QTest::addColumn<QStringList>("updateTimes");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("rows");

    QTest::newRow("350 held, 100 shown, more coming")
        << Batches{{350, false}} << Batches{{120, false}, {50, true}}
        << QStringList{"updateTimes = 3", "updateTimes = 2"} << 3 << 520;
    QTest::newRow("everything received")
        << Batches{{250, true}} << Batches{} << QStringList{"updateTimes = 2"} << 1 << 250;
    QTest::newRow("one short page left")
        << Batches{{201, false}} << Batches{{199, false}, {1, true}}
        << QStringList{"updateTimes = 2", "updateTimes = 2"} << 3 << 401;
    QTest::newRow("large batches")
        << Batches{{600, false}} << Batches{{600, false}, {600, true}}
        << QStringList{"updateTimes = 5", "updateTimes = 6", "updateTimes = 6"} << 3 << 1800;
}

void tst_HistoryRecordWid::loadAll()
{
    QFETCH(Batches, before);
    QFETCH(Batches, after);
    QFETCH(QStringList, updateTimes);
    QFETCH(int, requests);
    QFETCH(int, rows);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    for (const Batch& batch : before)
        f.answer(batch.count, batch.isTotalLast);
    QCOMPARE(f.rows(), 100);
    QVERIFY(f.ui.loadAll->isVisible());

    DebugLines log;
    f.ui.loadAll->click();
    QVERIFY(f.page.loadAllRequested);
    for (const Batch& batch : after)
        f.answer(batch.count, batch.isTotalLast);
    settle();

    QCOMPARE(log.startingWith(QStringLiteral("updateTimes")), updateTimes);
    QCOMPARE(f.page.sent.size(), requests);
    QCOMPARE(f.rows(), rows);
    QCOMPARE(f.page.records.size(), rows);
    QCOMPARE(f.ui.tips->text(), completeTips(rows));
    QVERIFY(f.ui.loadAll->isHidden());
    QVERIFY(f.ui.table->isSortingEnabled());
    QCOMPARE(f.page.requestId, -1);
}

void tst_HistoryRecordWid::closeEndsLoadAll_data()
{
    QTest::addColumn<Batch>("answer");
    QTest::addColumn<bool>("requested");

    QTest::newRow("lead met, nothing requested") << Batch{300, false} << false;
    QTest::newRow("lead not met, next batch") << Batch{100, false} << true;
    QTest::newRow("last batch") << Batch{10, true} << false;
}

void tst_HistoryRecordWid::closeEndsLoadAll()
{
    QFETCH(Batch, answer);
    QFETCH(bool, requested);

    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    f.answer(350, false);
    f.ui.loadAll->click();
    QCOMPARE(f.rows(), 350);
    QCOMPARE(f.page.sent.size(), 2);

    QVERIFY(f.page.close());
    QVERIFY(!f.page.loadAllRequested);

    DebugLines log;
    f.answer(answer.count, answer.isTotalLast);   // the request sent before closing is answered
    settle();

    QCOMPARE(f.page.records.size(), 350 + answer.count);
    QCOMPARE(f.rows(), 350);
    QVERIFY(log.startingWith(QStringLiteral("updateTimes")).isEmpty());
    QCOMPARE(f.page.sent.size(), requested ? 3 : 2);
}

void tst_HistoryRecordWid::queryLock_data()
{
    QTest::addColumn<QString>("investorId");
    QTest::addColumn<QString>("tips");

    QTest::newRow("request sent") << "880012345" << LoadingTips;
    QTest::newRow("request refused") << "" << notSentTips(UserData::ErrorBadInvestorId);
}

void tst_HistoryRecordWid::queryLock()
{
    QFETCH(QString, investorId);
    QFETCH(QString, tips);

    PageFixture f;
    QVERIFY(f.start());
    f.account.userData.setDefaultInvestorID(investorId);

    QElapsedTimer clock;
    clock.start();
    f.ui.query->click();
    QCOMPARE(f.ui.tips->text(), tips);
    QVERIFY(!f.ui.query->isEnabled());

    // An answer does not lift the lock.
    f.answer(80, true);
    QTest::qWait(400);
    QVERIFY(!f.ui.query->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(f.ui.query->isEnabled(), 3000);
    QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));
}

void tst_HistoryRecordWid::sortingOnlyWhenComplete()
{
    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    f.answer(350, false);
    QVERIFY(!f.ui.table->isSortingEnabled());
    f.ui.loadAll->click();
    QVERIFY(!f.ui.table->isSortingEnabled());
    f.answer(60, true);
    QCOMPARE(f.rows(), 410);
    QVERIFY(f.ui.table->isSortingEnabled());

    // A header click sorts by the raw value, numerically.
    QHeaderView* header = f.ui.table->horizontalHeader();
    settle();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
    QCOMPARE(header->sortIndicatorSection(), 1);
    const Qt::SortOrder order = header->sortIndicatorOrder();
    QAbstractItemModel* proxy = f.page.proxyModel;
    bool textOrderDiffers = false;
    for (int row = 1; row < proxy->rowCount(); ++row) {
        const int previous = proxy->index(row - 1, 1).data(Qt::UserRole).toInt();
        const int current = proxy->index(row, 1).data(Qt::UserRole).toInt();
        QVERIFY2(order == Qt::AscendingOrder ? previous <= current : previous >= current,
                 qPrintable(QStringLiteral("row %1").arg(row)));
        const QString previousText = proxy->index(row - 1, 1).data().toString();
        const QString currentText = proxy->index(row, 1).data().toString();
        if (order == Qt::AscendingOrder ? previousText > currentText : previousText < currentText)
            textOrderDiffers = true;
    }
    QVERIFY(textOrderDiffers);

    // A new query switches sorting off and forgets the indicator.
    QTest::qWait(1100);
    f.ui.query->click();
    QVERIFY(!f.ui.table->isSortingEnabled());
    QCOMPARE(header->sortIndicatorSection(), -1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(f.page.sent.last().batchNo, 1);   // the batches count anew
    QCOMPARE(f.page.batchNo, 1);
    // ... and the proxy forgets the old column, so the new answer shows in the order it arrived.
    QCOMPARE(f.page.proxyModel->sortColumn(), -1);
    f.answer(250, true);
    f.ui.loadAll->click();
    QCOMPARE(f.rows(), 250);
    for (int row = 0; row < 250; ++row)
        QCOMPARE(proxy->index(row, 0).data(), f.page.model->index(row, 0).data());
}

void tst_HistoryRecordWid::answersFromAnotherThread()
{
    PageFixture f;
    QVERIFY(f.start());
    f.ui.query->click();
    appendRecords(f.account.userData, 80);
    UserData* account = &f.account.userData;
    const int id = account->lastRequestId();
    std::unique_ptr<QThread> thread(QThread::create([account, id] {
        emit account->signal_ZRVA_RspInquiryHistoryOrderFinished(0, QString(), true, id);
    }));
    thread->start();
    QVERIFY(thread->wait(5000));

    // Queued: nothing happened on the emitting thread.
    QVERIFY(f.page.records.isEmpty());
    QCOMPARE(f.page.requestId, id);
    QTRY_COMPARE(f.page.records.size(), 80);
    QCOMPARE(f.rows(), 80);
    QCOMPARE(f.ui.tips->text(), completeTips(80));
}

void tst_HistoryRecordWid::modelsUnderTester()
{
    PageFixture f;
    QVERIFY(f.start());
    QAbstractItemModelTester modelTester(f.page.model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(f.page.proxyModel, QAbstractItemModelTester::FailureReportingMode::QtTest);

    f.ui.query->click();
    f.answer(150, false);
    f.answer(200, false);
    f.ui.loadAll->click();
    // The testers page rows in by themselves; whatever they fetched, Load all ends complete.
    while (f.page.requestId != -1)
        f.answer(90, f.page.records.size() + 90 >= 700);
    settle();
    QCOMPARE(f.rows(), f.page.records.size());
    QCOMPARE(f.ui.tips->text(), completeTips(f.rows()));
    for (int row = 0; row < f.rows(); row += 97) {
        QCOMPARE(f.page.proxyModel->index(row, 0).data(Qt::TextAlignmentRole).toInt(), 0x84);
        QCOMPARE(f.page.proxyModel->index(row, 1).data(Qt::TextAlignmentRole).toInt(), 0x82);
    }

    f.ui.table->sortByColumn(1, Qt::AscendingOrder);
    QTest::qWait(1100);
    f.ui.query->click();
    f.answer(30, true);
    QCOMPARE(f.rows(), 30);
}

void tst_HistoryRecordWid::destruction()
{
    auto* account = new TestAccount;
    auto* page = new TestHistoryPage(TestAccount::Key);
    page->initSubModule();
    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    appendRecords(account->userData, 120);
    emit account->userData.signal_ZRVA_RspInquiryHistoryOrderFinished(0, QString(), true, account->userData.lastRequestId());
    QCOMPARE(page->records.size(), 120);

    QPointer<TableHeader> header = page->tableHeader;
    QPointer<myHistoryModel> model = page->model;
    QPointer<QSortFilterProxyModel> proxy = page->proxyModel;
    QVERIFY(header && model && proxy);

    DebugLines log;
    delete page;
    QCOMPARE(log.lines(), QStringList{QStringLiteral("~HistoryRecordWid()")});
    QVERIFY(header.isNull() && model.isNull() && proxy.isNull());
    QVERIFY(account->userData.getHistoryOrderList().isEmpty());
    delete account;

    // A page that was never initialised goes as quietly.
    TestAccount second;
    DebugLines::lines().clear();
    delete new TestHistoryPage(TestAccount::Key);
    QCOMPARE(log.lines(), QStringList{QStringLiteral("~HistoryRecordWid()")});
}

// The simulated service with a fixed "today": 900 orders over the 30 days before 15 March 2024.
class ServiceFixture : public PageFixture
{
public:
    static constexpr int Records = 900;
    static constexpr int BatchSize = 120;

    ServiceFixture()
    {
        service.setReferenceDate(QDate(2024, 3, 15));
        service.setHistoryDays(30);
        service.setRecordsPerKind(Records);
        service.setBatchSize(BatchSize);
        account.userData.setService(&service);
    }
    ~ServiceFixture() { account.userData.setService(nullptr); }

    bool startOverWholeHistory()
    {
        if (!start())
            return false;
        ui.begin->setDate(QDate(2024, 1, 1));
        ui.end->setDate(QDate(2024, 3, 14));
        return true;
    }

    bool idle() const { return page.requestId == -1 && !account.userData.getIsZRVAReqing(); }

    QStringList orderDates() const
    {
        QStringList dates;
        for (const std::any& record : page.records) {
            const TestRecord* order = std::any_cast<TestRecord*>(record);
            dates.append(QString::fromLatin1(order->OrderDate, int(strnlen(order->OrderDate, sizeof order->OrderDate))));
        }
        return dates;
    }

    ValueAddedService service;
};

void tst_HistoryRecordWid::serviceFullCycle_data()
{
    QTest::addColumn<int>("sortIndex");
    QTest::addColumn<bool>("newestFirst");

    QTest::newRow("newest on top") << 0 << true;
    QTest::newRow("oldest on top") << 1 << false;
}

void tst_HistoryRecordWid::serviceFullCycle()
{
    QFETCH(int, sortIndex);
    QFETCH(bool, newestFirst);

    ServiceFixture f;
    QVERIFY(f.startOverWholeHistory());
    f.ui.sort->setCurrentIndex(sortIndex);

    // 120 records are below the lead of 200: the second batch is fetched before the table fills.
    f.ui.query->click();
    QCOMPARE(f.ui.tips->text(), LoadingTips);
    QTRY_VERIFY(f.idle());
    settle();
    QCOMPARE(f.page.sent.size(), 2);
    QCOMPARE(f.page.records.size(), 2 * ServiceFixture::BatchSize);
    QCOMPARE(f.rows(), 100);
    QCOMPARE(f.ui.tips->text(), partialTips(100));

    f.ui.loadAll->click();
    QTRY_VERIFY_WITH_TIMEOUT(f.page.isTotalLast && f.idle(), 20000);
    settle();
    QCOMPARE(f.page.records.size(), ServiceFixture::Records);
    QCOMPARE(f.account.userData.getHistoryOrderList().size(), ServiceFixture::Records);
    QCOMPARE(f.rows(), ServiceFixture::Records);
    QCOMPARE(f.ui.tips->text(), completeTips(ServiceFixture::Records));
    QVERIFY(f.ui.table->isSortingEnabled());
    QVERIFY(f.ui.loadAll->isHidden());
    const int batches = (ServiceFixture::Records + ServiceFixture::BatchSize - 1) / ServiceFixture::BatchSize;
    QCOMPARE(f.page.sent.size(), batches);
    for (int i = 0; i < batches; ++i) {
        QCOMPARE(f.page.sent.at(i).batchNo, i + 1);
        QCOMPARE(int(f.page.sent.at(i).sortType), int(newestFirst ? '2' : '1'));
    }

    const QStringList dates = f.orderDates();
    QStringList ordered = dates;
    std::sort(ordered.begin(), ordered.end());
    if (newestFirst)
        std::reverse(ordered.begin(), ordered.end());
    QCOMPARE(dates, ordered);
    QVERIFY(dates.first() != dates.last());
}

void tst_HistoryRecordWid::servicePreCheck_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("text");

    QTest::newRow("connection dropped") << 0 << "增值服务未连接，请稍后重试或重启客户端。";
    QTest::newRow("logged out") << 1 << "增值服务未登录，请稍后重试或重启客户端。";
    QTest::newRow("service busy") << 2 << "上次查询正在进行中，请稍后重试。";
    QTest::newRow("own request outstanding") << 3 << "上次查询正在进行中，请稍后重试。";
}

void tst_HistoryRecordWid::servicePreCheck()
{
    QFETCH(int, fault);
    QFETCH(QString, text);

    ServiceFixture f;
    QVERIFY(f.startOverWholeHistory());
    f.ui.query->click();
    QTRY_VERIFY(f.idle());
    QTest::qWait(1100);
    QCOMPARE(f.page.records.size(), 2 * ServiceFixture::BatchSize);

    f.service.setConnected(fault != 0);
    f.service.setLoggedIn(fault != 1);
    f.service.setBusy(fault == 2);
    if (fault == 3) {
        f.service.setLatencyMs(3000);
        int id = 0;
        QCOMPARE(f.account.userData.ReqQryHistoryOrderEx(QStringLiteral("880012345"), QStringLiteral("20240301"),
                                                         QStringLiteral("20240314"), '2', 1, id), 0);
    }
    settle();

    // Load all meets the check first and pages nothing in.
    BoxCatcher boxes;
    DebugLines log;
    f.ui.loadAll->click();
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.first().text, text);
    QVERIFY(!f.page.loadAllRequested);
    QVERIFY(log.startingWith(QStringLiteral("updateTimes")).isEmpty());
    QCOMPARE(f.rows(), 100);

    f.ui.query->click();
    QCOMPARE(boxes.seen.size(), 2);
    QCOMPARE(boxes.seen.last().text, text);
    QCOMPARE(f.page.sent.size(), 2);
    QVERIFY(f.page.records.isEmpty());
    QCOMPARE(f.rows(), 0);
    QVERIFY(f.ui.query->isEnabled());
    QCOMPARE(f.ui.tips->text(), partialTips(100));
}

void tst_HistoryRecordWid::serviceError()
{
    ServiceFixture f;
    QVERIFY(f.startOverWholeHistory());
    f.service.failNextAnswer(42, QStringLiteral("柜台拒绝"));
    BoxCatcher boxes;
    f.ui.query->click();
    QTRY_COMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.first().title, QStringLiteral("查询失败"));
    QCOMPARE(boxes.seen.first().text,
             TestHistoryPage::Title + QStringLiteral("查询失败\n错误号: 42\n错误信息: 柜台拒绝"));
    QCOMPARE(f.ui.tips->text(), TestHistoryPage::Title + QStringLiteral("查询错误"));
    QVERIFY(f.page.isTotalLast);
    QVERIFY(f.page.records.isEmpty());
    QCOMPARE(f.page.sent.size(), 1);

    // The next query goes through.
    QTest::qWait(1100);
    f.ui.query->click();
    QTRY_VERIFY(f.idle());
    QCOMPARE(f.page.records.size(), 2 * ServiceFixture::BatchSize);
}

QTEST_MAIN(tst_HistoryRecordWid)
#include "tst_historyrecordwid.moc"
