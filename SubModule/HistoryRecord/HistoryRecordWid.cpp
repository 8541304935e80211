#include "HistoryRecordWid.h"
#include "ui_HistoryRecordWid.h"

#include "CsvWriter.h"
#include "ExportFile.h"
#include "HistorySortProxyModel.h"
#include "HistoryTableHeader.h"
#include "TableHeader.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QFileDialog>
#include <QFont>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextCodec>
#include <QTimer>
#include <QWheelEvent>

#include <utility>
#include <vector>

namespace VEK_SC_Space {

namespace {

constexpr int ServiceNotReady = -999;
constexpr int AnswerLead = 200; // received but unshown records kept ahead of the table
constexpr int ScrollLead = 100;
constexpr int RowsPerPage = 100;
constexpr int QueryLockMs = 1000;
constexpr int RowHeight = 23; // rows and header at 100 %, unless the font needs more
constexpr int MinZoom = 25;
constexpr int MaxZoom = 400;
constexpr int Centred = Qt::AlignHCenter | Qt::AlignVCenter;
const QString RequestDateFormat = QStringLiteral("yyyyMMdd");
constexpr std::size_t ChunkBytes = 1 << 17; // text written (and converted) at a time
constexpr int PrefetchRows = 8;             // rows ahead the export asks for a record

// A box or dialog of the page, on the heap as the page's child: if the host deletes the page
// while it is open, the page takes it along, exec() reports that, and the caller must leave at
// once without touching the page.
template <class Dialog>
class PageModal
{
public:
    template <class... Args>
    explicit PageModal(Args&&... args)
        : dialog(new Dialog(std::forward<Args>(args)...))
    {
    }
    ~PageModal() { delete dialog.data(); }
    PageModal(const PageModal&) = delete;
    PageModal& operator=(const PageModal&) = delete;

    Dialog* operator->() const { return dialog.data(); }
    // False when the page, and with it the dialog, is gone.
    bool exec()
    {
        dialog->exec();
        return !dialog.isNull();
    }

private:
    QPointer<Dialog> dialog;
};

} // namespace

HistoryRecordWid::HistoryRecordWid(int key, int pageType, QString pageTitle, QWidget* parent)
    : ISubModuleWid(parent)
    , form(new Ui::HistoryRecordWid)
    , title(std::move(pageTitle))
    , accountKey(key)
    , userData(UserDataManager::instance()->userDataMap().value(key))
    , accountType(userData ? userData->accountType : 0)
{
    Q_UNUSED(pageType)
    form->setupUi(this);
    // The host may delete the account while the page lives; its records go with it.
    if (userData)
        connect(userData, &QObject::destroyed, this, &HistoryRecordWid::accountDestroyed);
    queryLock.setSingleShot(true);
    queryLock.setInterval(QueryLockMs);
    connect(&queryLock, &QTimer::timeout, form->pushButton_historyordertradewid_request, [this] {
        form->pushButton_historyordertradewid_request->setEnabled(true);
    });
    followUp.setSingleShot(true);
    followUp.setInterval(0);
    connect(&followUp, &QTimer::timeout, this, [this] {
        if (phase == Phase::Partial && !isTotalLast && !awaitsAnswer())
            sendNextRequest();
    });
}

HistoryRecordWid::~HistoryRecordWid()
{
    qDebug("~HistoryRecordWid()");
    // The table outlives this destructor's body; what it reports now concerns no page.
    disconnect(form->tableView_historyordertradewid->verticalScrollBar(), nullptr, this, nullptr);
    records.clear();
    delete tableHeader;
    tableHeader = nullptr;
    // The model has no parent; the proxy, a child of the page, lets go of it on its own.
    delete model;
    model = nullptr;
}

void HistoryRecordWid::initSubModule()
{
    if (model)
        return;
    createTableHeader();
    setAttribute(Qt::WA_MouseTracking);
    form->widget_historyordertradewid_outline->installEventFilter(this);
    const QDate today = QDate::currentDate();
    form->dateEdit_historyordertradewid_begdate->setDate(today.addDays(-10));
    form->dateEdit_historyordertradewid_enddate->setDate(today.addDays(-1));
    form->comboBox_historyordertradewid_sorttype->setView(new QListView(this));
    initTableView();
    applyColumnSet();
    showState();
    // Without its account (deleted by the host) the page has nothing to listen to.
    if (userData)
        connectResponseSignal();
}

void HistoryRecordWid::subModuleHook()
{
}

void HistoryRecordWid::setZoomPercent(int percent)
{
    if (percent <= 0)
        return;
    // Beyond these a page is unreadable, or takes a minute to lay out fonts of a thousand points.
    percent = qBound(MinZoom, percent, MaxZoom);
    QTimer::singleShot(0, this, [this, percent] { rescaleFonts(percent); });
}

void HistoryRecordWid::rescaleFonts(int percent)
{
    const double factor = double(percent) / zoomPercent;
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    // Read every font before setting any: a parent's new font would otherwise reach its
    // children first and they would be scaled twice.
    QList<QFont> fonts;
    fonts.reserve(widgets.size());
    for (QWidget* widget : widgets) {
        QFont font = widget->font();
        font.setPointSizeF(font.pointSizeF() * factor);
        fonts.append(font);
    }
    for (int i = 0; i < widgets.size(); ++i)
        widgets.at(i)->setFont(fonts.at(i));
    zoomPercent = percent;
    applySizes();
}

// The height a row needs for one line of the table's text, Chinese included (its fallback font
// may be taller than the table's own), as the item delegate measures it, with the grid line.
int HistoryRecordWid::rowHeightForFont() const
{
    const QTableView* table = form->tableView_historyordertradewid;
    QStyleOptionViewItem item;
    item.initFrom(table);
    item.font = table->font();
    item.fontMetrics = QFontMetrics(item.font);
    item.features = QStyleOptionViewItem::HasDisplay;
    item.text = QStringLiteral("国Ag");
    const int text = table->style()->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), table).height();
    return text + (table->showGrid() ? 1 : 0);
}

// Rows, header and columns grow with the zoom, and rows and header never below what the text
// needs: a fixed 23 px cuts a 14 pt line, or any line on a display scaled to 150 %.
void HistoryRecordWid::applySizes()
{
    const auto scaled = [this](int size) { return qRound(double(size) * zoomPercent / 100.0); };
    QTableView* table = form->tableView_historyordertradewid;
    const int row = qMax(scaled(RowHeight), rowHeightForFont());
    QHeaderView* header = table->horizontalHeader();
    QStyleOptionHeader section;
    section.initFrom(header);
    section.text = QStringLiteral("国Ag");
    const int titleHeight = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &section, QSize(), header).height();
    header->setFixedHeight(qMax(scaled(RowHeight), titleHeight));
    // The style's own minimum is not the row's: it would round rows up past 23 at small fonts.
    table->verticalHeader()->setMinimumSectionSize(row);
    table->verticalHeader()->setDefaultSectionSize(row);
    for (int i = 0; i < showColumns.size(); ++i)
        table->setColumnWidth(i, scaled(showColumns.at(i)->width));
}

void HistoryRecordWid::initTableView()
{
    QTableView* table = form->tableView_historyordertradewid;
    if (!model) {
        model = new myHistoryModel(QStringLiteral("HistoryTable"), accountKey);
        connect(model, &myHistoryModel::numberPopulated, this, &HistoryRecordWid::slot_myModel_numberPopulated);
        model->setDataSource(records);
        proxyModel = new HistorySortProxyModel(this);
        proxyModel->setSourceModel(model);
        proxyModel->setSortRole(Qt::UserRole);
    }

    QHeaderView* hHeader = table->horizontalHeader();
    hHeader->setDefaultAlignment(Qt::Alignment(Centred));
    hHeader->setStretchLastSection(false);
    hHeader->setObjectName(QStringLiteral("historyordertradewid_hHeader"));
    hHeader->setMinimumSectionSize(50);
    hHeader->setHighlightSections(false);

    QHeaderView* vHeader = table->verticalHeader();
    vHeader->setSectionResizeMode(QHeaderView::Fixed);
    vHeader->setObjectName(QStringLiteral("historyordertradewid_vHeader"));

    table->setFocusPolicy(Qt::NoFocus);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setMouseTracking(true);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    table->setSortingEnabled(false);
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == form->tableView_historyordertradewid->verticalScrollBar()->maximum())
            tableEndReached();
    });
    table->viewport()->installEventFilter(this);
    applySizes();
}

void HistoryRecordWid::applyColumnSet()
{
    // A page class without a column set for its account kind leaves the table without columns.
    if (!tableHeader)
        return;
    showColumns = tableHeader->getShowColumns();
    model->setHeader(tableHeader, showColumns);

    QStringList titles;
    QList<int> alignments;
    for (const ColProperty* column : qAsConst(showColumns)) {
        titles.append(column->title);
        alignments.append(int(column->alignment));
    }
    model->setHorizontalHeaderList(titles);
    alignments << Centred << Centred;
    model->setAlignment(alignments);

    QTableView* table = form->tableView_historyordertradewid;
    table->setModel(proxyModel);
    for (int i = 0; i < titles.size(); ++i)
        table->setColumnHidden(i, false);
    applySizes();
}

bool HistoryRecordWid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form->tableView_historyordertradewid->viewport() && event->type() == QEvent::Wheel) {
        const QScrollBar* bar = form->tableView_historyordertradewid->verticalScrollBar();
        if (static_cast<QWheelEvent*>(event)->angleDelta().y() < 0 && bar->value() == bar->maximum())
            tableEndReached();
        return false;
    }
    if (watched != form->widget_historyordertradewid_outline)
        return false;
    if (event->type() == QEvent::Enter) {
        const Qt::CursorShape shape = cursor().shape();
        if (shape == Qt::SizeVerCursor || shape == Qt::SizeHorCursor)
            setCursor(Qt::ArrowCursor);
    } else if (event->type() == QEvent::Leave) {
        unsetCursor();
    }
    return false;
}

void HistoryRecordWid::closeEvent(QCloseEvent* event)
{
    loadAllRequested = false;
    ISubModuleWid::closeEvent(event);
}

// A font set by the host after set-up reaches the rows too.
void HistoryRecordWid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && model)
        applySizes();
    ISubModuleWid::changeEvent(event);
}

bool HistoryRecordWid::checkServiceReady()
{
    // The account is gone: nothing to ask, and nobody to tell.
    if (!userData)
        return false;
    QString problem;
    if (!userData->zrvaConnected)
        problem = tr("增值服务未连接，请稍后重试或重启客户端。");
    else if (!userData->zrvaLoggedIn)
        problem = tr("增值服务未登录，请稍后重试或重启客户端。");
    else if (userData->getIsZRVAReqing())
        problem = tr("上次查询正在进行中，请稍后重试。");
    else
        return true;
    showMessage(QMessageBox::Critical, tr("查询失败"), problem);
    return false;
}

bool HistoryRecordWid::showMessage(QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    PageModal<QMessageBox> box(icon, caption, text, QMessageBox::Ok, this);
    box->button(QMessageBox::Ok)->setText(tr("确定"));
    return box.exec();
}

int HistoryRecordWid::sendNextRequest()
{
    if (!checkServiceReady())
        return ServiceNotReady;
    const QString investorId = userData->getDefaultInvestorID();
    // The dates and the order are those of the Query click, not the form's now: batches of one
    // query asked with other parameters would overlap or leave gaps.
    if (batchNo == 0) {
        queryBeginDate = form->dateEdit_historyordertradewid_begdate->date().toString(RequestDateFormat);
        queryEndDate = form->dateEdit_historyordertradewid_enddate->date().toString(RequestDateFormat);
        switch (form->comboBox_historyordertradewid_sorttype->currentIndex()) {
        case 0:
            querySortType = '2';
            break;
        case 1:
            querySortType = '1';
            break;
        default:
            querySortType = 0;
        }
    }
    ++batchNo;
    requestId = -1;
    const int result = sendHistoryRequest(investorId, queryBeginDate, queryEndDate, querySortType, batchNo, requestId);
    if (result != 0) {
        requestId = -1;
        --batchNo;
    }
    return result;
}

bool HistoryRecordWid::awaitsAnswer() const
{
    return (phase == Phase::Fetching || phase == Phase::Partial) && requestId != -1;
}

// What the user sees and what Export does, from the phase alone.
HistoryRecordWid::View HistoryRecordWid::view() const
{
    const QString rows = QString::number(model ? model->rowCount() : 0);
    View v;
    switch (phase) {
    case Phase::Ready:
        v.tips = tr("点击查询获取") + title;
        break;
    case Phase::Fetching:
        v.tips = tr("正在加载数据...");
        v.exportMode = ExportMode::Ask;
        break;
    case Phase::Partial:
        v.tips = tr("下滑滚动条以显示更多记录(已加载") + rows + tr("条)");
        v.loadAll = true;
        v.exportMode = ExportMode::Ask;
        break;
    case Phase::Complete:
        v.tips = tr("所有数据已加载完毕(共") + rows + tr("条)");
        v.sortable = true;
        break;
    case Phase::Failed:
        // Rows the model holds unshown can still be paged in; they are never the whole answer.
        v.tips = endText;
        v.loadAll = model && model->canFetchMore(QModelIndex());
        v.exportMode = ExportMode::Ask;
        break;
    case Phase::Detached:
        v.tips = endText;
        v.exportMode = ExportMode::Refuse;
        break;
    }
    return v;
}

void HistoryRecordWid::showState()
{
    const View v = view();
    setTips(v.tips);
    form->pushButton_historyordertradewid_loadall->setVisible(v.loadAll);
    QTableView* table = form->tableView_historyordertradewid;
    // Switched on again, sorting re-sorts by the header's column: only on a change.
    if (table->isSortingEnabled() != v.sortable)
        table->setSortingEnabled(v.sortable);
}

// The one place the phase changes; the facts beside it follow, so that no impossible pair
// (an error that waits for more, Load all running after the end) can be represented.
void HistoryRecordWid::enter(Phase next, const QString& text)
{
    phase = next;
    if (next == Phase::Failed || next == Phase::Detached)
        endText = text;
    if (next != Phase::Fetching && next != Phase::Partial) {
        requestId = -1;
        isTotalLast = true;
        loadAllRequested = false;
        followUp.stop();
    }
    showState();
}

// After rows were paged in or an answer was shown: a partial page whose every record is shown,
// with no batch left to ask for, is complete.
void HistoryRecordWid::settle()
{
    if (phase == Phase::Partial && isTotalLast && !awaitsAnswer() && model && model->rowCount() == records.size())
        enter(Phase::Complete);
    else
        showState();
}

// True when the page may not go on after a box: deleted with it, or left without its records.
bool HistoryRecordWid::detachedAfterBox(const QPointer<HistoryRecordWid>& alive) const
{
    return !alive || phase == Phase::Detached;
}

// Records that came with an answer the page does not take stay in the account's list, where
// the next collection would take them for its own; they are stepped over and freed with the rest.
void HistoryRecordWid::skipNewRecords()
{
    const int added = collectNewRecords();
    records.erase(records.end() - added, records.end());
    skippedRecords += added;
}

// At the end of the table with every held record shown, the view has nothing more to page in,
// so it asks for nothing; the next batch is asked for here, as a page-in would.
void HistoryRecordWid::tableEndReached()
{
    // Only a query that has been answered goes on; an empty table before that asks for nothing.
    if (model && phase == Phase::Partial && !isTotalLast && !awaitsAnswer() && model->rowCount() == records.size())
        followUp.start();
}

// The rows let go of the records and the page never touches the account's list again: the
// account freed the records with its lists, or a newer page owns them now.
void HistoryRecordWid::detach(const QString& label, const QString& why)
{
    userData = nullptr;
    if (model) {
        model->setDataSource(QList<std::any>());
        model->resetDataSource();
    }
    records.clear();
    skippedRecords = 0;
    detachedWhy = why;
    enter(Phase::Detached, label);
}

void HistoryRecordWid::accountDestroyed()
{
    detach(tr("该账户已不存在"), tr("该账户已不存在，无法查询或导出。"));
}

void HistoryRecordWid::yieldResultList()
{
    if (phase == Phase::Detached)
        return;
    if (userData)
        disconnect(userData, nullptr, this, nullptr);
    detach(tr("本页已在别处重新打开"), tr("本页已在别处重新打开，请在新打开的页面中查询或导出。"));
}

void HistoryRecordWid::on_pushButton_historyordertradewid_request_clicked()
{
    if (phase == Phase::Detached) {
        showMessage(QMessageBox::Critical, tr("查询失败"), detachedWhy);
        return;
    }
    batchNo = 0;
    // The model lets go of its rows first: a view or tester may read a row until then, and
    // clearRecords frees the records behind them.
    if (model) {
        model->setDataSource(QList<std::any>());
        model->resetDataSource();
    }
    clearRecords();
    QTableView* table = form->tableView_historyordertradewid;
    table->setSortingEnabled(false);
    table->horizontalHeader()->setSortIndicator(-1, Qt::DescendingOrder);
    // With sorting off the header no longer reaches the proxy: drop the last sort here, or the
    // new answer would arrive in the old column's order under a cleared indicator.
    if (proxyModel)
        proxyModel->sort(-1);
    // An answer to an earlier request is never this query's, even when this one is not sent.
    // The emptied table shows the start text until a request goes out, rather than keeping the
    // label as it was: a count or "loading" left over no rows would claim what is not there.
    enter(Phase::Ready);
    const QPointer<HistoryRecordWid> alive(this);
    if (!checkServiceReady())
        return;

    // Fetching before the request goes out: an answer may come back from inside it.
    enter(Phase::Fetching);
    isTotalLast = false;
    const int result = sendNextRequest();
    if (detachedAfterBox(alive))
        return;
    if (result != 0)
        enter(Phase::Failed, tr("查询失败，本地错误号:") + QString::number(result));

    form->pushButton_historyordertradewid_request->setEnabled(false);
    queryLock.start();
}

void HistoryRecordWid::on_pushButton_historyordertradewid_export_clicked()
{
    const ExportMode mode = view().exportMode;
    if (mode == ExportMode::Refuse) {
        // Written, the file would hold the header alone and pass for the account's history.
        showMessage(QMessageBox::Critical, tr("导出失败"), detachedWhy);
        return;
    }
    if (mode == ExportMode::Write) {
        exportTableToCsv();
        return;
    }
    PageModal<QMessageBox> box(QMessageBox::Information, title + tr("数据导出"),
                               tr("数据尚未全部加载完成，是否仍要导出？"), QMessageBox::Ok | QMessageBox::Cancel, this);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    QAbstractButton* exportButton = box->button(QMessageBox::Ok);
    exportButton->setText(tr("导 出"));
    box->button(QMessageBox::Cancel)->setText(tr("取 消"));
    if (!box.exec() || box->clickedButton() != exportButton)
        return;
    // The account may have gone while the question was open.
    if (phase == Phase::Detached)
        showMessage(QMessageBox::Critical, tr("导出失败"), detachedWhy);
    else
        exportTableToCsv();
}

void HistoryRecordWid::exportTableToCsv()
{
    const QString baseName = title + QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd"));
    // Made before the dialog opens, so the dialog starts in it.
    const QString folder = ExportFile::proposedFolder(QCoreApplication::applicationDirPath(), tr("表格导出"));
    const QString proposal = folder + QLatin1Char('/') + baseName + tr(".csv");
    // What QFileDialog::getSaveFileName does, with the dialog on the heap (see PageModal).
    PageModal<QFileDialog> dialog(this, tr("导出至本地文件..."), proposal, tr("CSV Files (*.csv)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    if (!dialog.exec() || dialog->result() != QDialog::Accepted)
        return;
    const QString fileName = dialog->selectedFiles().value(0);
    if (fileName.isEmpty())
        return;

    // Each failure names what failed, where one text for all would send the user to close a file
    // that is not open when the folder is the trouble.
    QString failure;
    switch (ExportFile::save(fileName, [this](QIODevice& file) { return writeTableAsCsv(file); })) {
    case ExportFile::Outcome::Saved:
        showMessage(QMessageBox::Information, tr("导出数据成功"), title + tr("表格导出成功，文件已保存！"));
        return;
    case ExportFile::Outcome::NotAFile: failure = tr("导出失败，所选路径不是普通文件，请选择其他文件名。"); break;
    case ExportFile::Outcome::FileNotWritable: failure = tr("导出失败，该文件已打开，请关闭文件后重试。"); break;
    case ExportFile::Outcome::FolderNotWritable: failure = tr("导出失败，无法在该文件夹中保存文件，请选择其他文件夹。"); break;
    case ExportFile::Outcome::WriteFailed: failure = tr("导出失败，写入文件时出错。"); break;
    }
    showMessage(QMessageBox::Critical, tr("导出失败"), failure);
}

// The header and the rows as the table shows them, a comma after every value, in the encoding a
// text stream would use. A row's cells come straight from the column set, as the model's display
// role gives them: described and appended to one buffer, without a QString or QVariant for each,
// when the set is one of this module's. The text goes out a chunk at a time.
bool HistoryRecordWid::writeTableAsCsv(QIODevice& device) const
{
    const QAbstractItemModel* table = form->tableView_historyordertradewid->model();
    const int rows = table ? table->rowCount() : 0;
    const int columns = table ? table->columnCount() : 0;
    // The model shows a prefix of `records` in the same order (it is handed a copy of the list
    // after every answer), so a source row is an index into `records`.
    auto* cells = dynamic_cast<HistoryTableHeader*>(tableHeader);
    const auto* rowMap = qobject_cast<const HistorySortProxyModel*>(proxyModel);
    const bool direct = table && table == proxyModel && proxyModel->sourceModel() == model && cells && rowMap
        && columns == showColumns.size() && model->rowCount() <= records.size();
    // The account the model hands its column set for each cell.
    UserData* account = UserDataManager::instance()->userDataMap().value(accountKey, nullptr);
    QVector<int> ids;
    for (int column = 0; direct && column < columns; ++column)
        ids.append(showColumns.at(column)->id);
    std::vector<HistoryColumn::CellText> row(std::size_t(ids.size()));
    CsvWriter text(QTextCodec::codecForLocale());
    for (int column = 0; column < columns; ++column)
        text.append(table->headerData(column, Qt::Horizontal).toString());
    text.endLine();
    for (int r = 0; r < rows; ++r) {
        if (direct) {
            // The records are scattered on the heap: each is asked for some rows ahead, so that
            // it is in the cache when its row comes, instead of a stall for each.
            if (r + PrefetchRows < rows)
                prefetchRecord(rowMap->sourceRow(r + PrefetchRows));
            cells->describeRow(row.data(), records.at(rowMap->sourceRow(r)), ids.constData(), ids.size(), account);
            text.appendRow(row.data(), ids.size());
        } else {
            for (int column = 0; column < columns; ++column)
                text.append(table->index(r, column).data().toString());
            text.endLine();
        }
        // Whole lines only, so no character is ever split between two chunks.
        if (text.size() >= ChunkBytes && !text.writeTo(device))
            return false;
    }
    return text.writeTo(device);
}

void HistoryRecordWid::on_pushButton_historyordertradewid_loadall_clicked()
{
    // Nothing to load (the button is hidden then).
    if (phase == Phase::Ready || phase == Phase::Detached)
        return;
    // The page's own request in flight is not a previous query: its answer carries Load all on.
    if (awaitsAnswer()) {
        loadAllRequested = true;
        return;
    }
    if (!checkServiceReady())
        return;
    const QPointer<HistoryRecordWid> alive(this);
    loadAllRequested = true;
    loadAllRecords();
    // Whatever it paged in, Load all of a page without more batches ends here.
    if (alive && phase != Phase::Fetching && phase != Phase::Partial)
        loadAllRequested = false;
}

void HistoryRecordWid::loadAllRecords()
{
    if (!checkServiceReady() || !loadAllRequested)
        return;
    if (model) {
        const int shown = model->rowCount();
        const int pages = (records.size() - shown + RowsPerPage - 1) / RowsPerPage;
        if (shown < records.size()) {
            qDebug("updateTimes = %d", pages);
            for (int i = 0; i < pages; ++i)
                model->loadNextPage();
        }
    }
    if (!isTotalLast && !awaitsAnswer())
        sendNextRequest();
}

void HistoryRecordWid::slot_myModel_numberPopulated(bool isFetchMore, int rowCount)
{
    settle();
    // From inside the table's own page-in: the request, and its pre-check box, go out from the
    // event loop, where the host may delete the page without pulling the table from under it.
    if (isFetchMore && phase == Phase::Partial && !isTotalLast && records.size() <= rowCount + ScrollLead)
        followUp.start();
}

void HistoryRecordWid::slot_InquiryHistoryFinished(int errorID, QString errorMsg, bool isLastBatch, int nRequestID)
{
    // A page that awaits no answer, or another one, takes nothing from this one.
    if (!awaitsAnswer() || nRequestID != requestId) {
        if (userData)
            skipNewRecords();
        return;
    }
    requestId = -1;

    if (errorID != 0) {
        const QString message = title + tr("查询失败") + QLatin1Char('\n')
            + tr("错误号: ") + QString::number(errorID) + QLatin1Char('\n')
            + tr("错误信息: ") + errorMsg;
        enter(Phase::Failed, title + tr("查询错误"));
        showMessage(QMessageBox::Critical, tr("查询失败"), message);
        return;
    }

    collectNewRecords();
    isTotalLast = isLastBatch;
    const int shown = model ? model->rowCount() : 0;
    bool refused = false;
    if (!isTotalLast && records.size() < shown + AnswerLead) {
        const QPointer<HistoryRecordWid> alive(this);
        // A follow-up the pre-check refuses would leave the records unseen and the page
        // waiting for nothing: show what arrived and settle as a partial answer instead.
        const int sent = sendNextRequest();
        if (sent == 0 || detachedAfterBox(alive))
            return;
        refused = true;
    }
    if (phase == Phase::Fetching)
        enter(Phase::Partial);
    if (model) {
        model->setDataSource(records);
        const QScrollBar* bar = form->tableView_historyordertradewid->verticalScrollBar();
        // With every record already shown (an empty last batch) only a page-in updates the label.
        if (bar->value() == bar->maximum() || model->rowCount() == records.size())
            model->loadNextPage();
    }
    settle();
    // After a refusal, Load all would only be refused again, with a second box.
    if (loadAllRequested && !refused)
        loadAllRecords();
}

void HistoryRecordWid::setTips(const QString& text)
{
    form->label_historyordertradewid_tips->setText(text);
}

} // namespace VEK_SC_Space
