#include "HistoryRecordWid.h"
#include "ui_HistoryRecordWid.h"

#include "HistorySortProxyModel.h"
#include "TableHeader.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFont>
#include <QHeaderView>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTextCodec>
#include <QTimer>

#include <utility>

namespace VEK_SC_Space {

namespace {

constexpr int ServiceNotReady = -999;
constexpr int AnswerLead = 200;       // received but unshown records kept ahead of the table
constexpr int ScrollLead = 100;
constexpr int RowsPerPage = 100;
constexpr int QueryLockMs = 1000;
constexpr int Centred = Qt::AlignHCenter | Qt::AlignVCenter;
const QString RequestDateFormat = QStringLiteral("yyyyMMdd");
constexpr int ChunkChars = 1 << 16;   // text converted to bytes at a time

void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(HistoryRecordWid::tr("确定"));
    box.exec();
}

} // namespace

HistoryRecordWid::HistoryRecordWid(int accountKey, int pageType, QString title, QWidget* parent)
    : ISubModuleWid(parent)
    , form(new Ui::HistoryRecordWid)
    , title(std::move(title))
    , accountKey(accountKey)
    , userData(UserDataManager::instance()->userDataMap().value(accountKey))
    , accountType(userData ? userData->accountType : 0)
{
    Q_UNUSED(pageType)
    form->setupUi(this);
}

HistoryRecordWid::~HistoryRecordWid()
{
    qDebug("~HistoryRecordWid()");
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
    setTips(tr("点击查询获取") + title);
    form->pushButton_historyordertradewid_loadall->hide();
    const QDate today = QDate::currentDate();
    form->dateEdit_historyordertradewid_begdate->setDate(today.addDays(-10));
    form->dateEdit_historyordertradewid_enddate->setDate(today.addDays(-1));
    form->comboBox_historyordertradewid_sorttype->setView(new QListView(this));
    initTableView();
    applyColumnSet();
    connectResponseSignal();
}

void HistoryRecordWid::subModuleHook()
{
}

void HistoryRecordWid::setZoomPercent(int percent)
{
    if (percent <= 0)
        return;
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
    hHeader->setFixedHeight(23);
    hHeader->setHighlightSections(false);

    QHeaderView* vHeader = table->verticalHeader();
    vHeader->setSectionResizeMode(QHeaderView::Fixed);
    // The style's minimum follows the font and would round larger fonts' rows up past 23.
    vHeader->setMinimumSectionSize(23);
    vHeader->setDefaultSectionSize(23);
    vHeader->setObjectName(QStringLiteral("historyordertradewid_vHeader"));

    table->setFocusPolicy(Qt::NoFocus);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setMouseTracking(true);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    table->setSortingEnabled(false);
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
    for (int i = 0; i < showColumns.size(); ++i)
        table->setColumnWidth(i, showColumns.at(i)->width);
}

bool HistoryRecordWid::eventFilter(QObject* watched, QEvent* event)
{
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

bool HistoryRecordWid::checkServiceReady()
{
    QString problem;
    if (!userData->zrvaConnected)
        problem = tr("增值服务未连接，请稍后重试或重启客户端。");
    else if (!userData->zrvaLoggedIn)
        problem = tr("增值服务未登录，请稍后重试或重启客户端。");
    else if (userData->getIsZRVAReqing())
        problem = tr("上次查询正在进行中，请稍后重试。");
    else
        return true;
    showMessage(this, QMessageBox::Critical, tr("查询失败"), problem);
    return false;
}

int HistoryRecordWid::sendNextRequest()
{
    if (!checkServiceReady())
        return ServiceNotReady;
    const QString investorId = userData->getDefaultInvestorID();
    const QString beginDate = form->dateEdit_historyordertradewid_begdate->date().toString(RequestDateFormat);
    const QString endDate = form->dateEdit_historyordertradewid_enddate->date().toString(RequestDateFormat);
    char sortType = 0;
    switch (form->comboBox_historyordertradewid_sorttype->currentIndex()) {
    case 0:
        sortType = '2';
        break;
    case 1:
        sortType = '1';
        break;
    }
    ++batchNo;
    requestId = -1;
    const int result = sendHistoryRequest(investorId, beginDate, endDate, sortType, batchNo, requestId);
    if (result != 0) {
        requestId = -1;
        --batchNo;
    }
    return result;
}

void HistoryRecordWid::on_pushButton_historyordertradewid_request_clicked()
{
    form->pushButton_historyordertradewid_loadall->hide();
    loadAllRequested = false;
    batchNo = 0;
    isTotalLast = false;
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
    if (!checkServiceReady())
        return;

    const int result = sendNextRequest();
    setTips(result == 0 ? tr("正在加载数据...") : tr("查询失败，本地错误号:") + QString::number(result));

    QPushButton* query = form->pushButton_historyordertradewid_request;
    query->setEnabled(false);
    QTimer::singleShot(QueryLockMs, this, [query] { query->setEnabled(true); });
}

void HistoryRecordWid::on_pushButton_historyordertradewid_export_clicked()
{
    const int shown = model ? model->rowCount() : 0;
    if (isTotalLast && shown == records.size()) {
        exportTableToCsv();
        return;
    }
    QMessageBox box(QMessageBox::Information, title + tr("数据导出"), tr("数据尚未全部加载完成，是否仍要导出？"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    QAbstractButton* exportButton = box.button(QMessageBox::Ok);
    exportButton->setText(tr("导 出"));
    box.button(QMessageBox::Cancel)->setText(tr("取 消"));
    box.exec();
    if (box.clickedButton() == exportButton)
        exportTableToCsv();
}

void HistoryRecordWid::exportTableToCsv()
{
    const QString baseName = title + QLatin1Char('_') + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd"));
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/') + tr("表格导出");
    // Made before the dialog opens, so the dialog starts in it.
    QDir().mkpath(folder);
    const QString proposal = folder + QLatin1Char('/') + baseName + tr(".csv");
    const QString fileName = QFileDialog::getSaveFileName(this, tr("导出至本地文件..."), proposal,
                                                          tr("CSV Files (*.csv)"));
    if (fileName.isNull())
        return;

    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) {
        showMessage(this, QMessageBox::Critical, tr("导出失败"), tr("导出失败，该文件已打开，请关闭文件后重试。"));
        return;
    }
    writeTableAsCsv(file);
    file.flush();
    showMessage(this, QMessageBox::Information, tr("导出数据成功"), title + tr("表格导出成功，文件已保存！"));
}

// The header and the rows as the table shows them, a comma after every value, in the encoding a
// text stream would use. A row's cells come straight from the column set, as the model's display
// role gives them, without a QVariant for each; the text goes out a chunk at a time.
void HistoryRecordWid::writeTableAsCsv(QIODevice& device) const
{
    const QAbstractItemModel* table = form->tableView_historyordertradewid->model();
    const int rows = table ? table->rowCount() : 0;
    const int columns = table ? table->columnCount() : 0;
    // The model shows a prefix of `records` in the same order (it is handed a copy of the list
    // after every answer), so a source row is an index into `records`.
    const bool direct = table && table == proxyModel && proxyModel->sourceModel() == model && tableHeader
        && columns == showColumns.size() && model->rowCount() <= records.size();
    // The account the model hands its column set for each cell.
    UserData* account = UserDataManager::instance()->userDataMap().value(accountKey, nullptr);
    QTextCodec* codec = QTextCodec::codecForLocale();
    QString text;
    text.reserve(ChunkChars + 4096);
    for (int column = 0; column < columns; ++column) {
        text += table->headerData(column, Qt::Horizontal).toString();
        text += QLatin1Char(',');
    }
    text += QLatin1Char('\n');
    for (int row = 0; row < rows; ++row) {
        if (direct) {
            const std::any& record = records.at(proxyModel->mapToSource(proxyModel->index(row, 0)).row());
            for (int column = 0; column < columns; ++column) {
                text += tableHeader->getColumnDisplayText(showColumns.at(column)->id, record, account);
                text += QLatin1Char(',');
            }
        } else {
            for (int column = 0; column < columns; ++column) {
                text += table->index(row, column).data().toString();
                text += QLatin1Char(',');
            }
        }
        text += QLatin1Char('\n');
        // Whole lines only, so no character is ever split between two chunks.
        if (text.size() >= ChunkChars) {
            device.write(codec->fromUnicode(text));
            text.resize(0);
        }
    }
    device.write(codec->fromUnicode(text));
}

void HistoryRecordWid::on_pushButton_historyordertradewid_loadall_clicked()
{
    if (!checkServiceReady())
        return;
    loadAllRequested = true;
    loadAllRecords();
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
    if (!isTotalLast)
        sendNextRequest();
}

void HistoryRecordWid::slot_myModel_numberPopulated(bool isFetchMore, int rowCount)
{
    const QString count = QString::number(rowCount);
    if (isTotalLast && rowCount == records.size()) {
        setTips(tr("所有数据已加载完毕(共") + count + tr("条)"));
        form->pushButton_historyordertradewid_loadall->hide();
        form->tableView_historyordertradewid->setSortingEnabled(true);
    } else {
        setTips(tr("下滑滚动条以显示更多记录(已加载") + count + tr("条)"));
        form->pushButton_historyordertradewid_loadall->show();
    }
    if (isFetchMore && !isTotalLast && records.size() <= rowCount + ScrollLead)
        sendNextRequest();
}

void HistoryRecordWid::slot_InquiryHistoryFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID)
{
    if (nRequestID != requestId)
        return;
    requestId = -1;

    if (errorID != 0) {
        const QString message = title + tr("查询失败") + QLatin1Char('\n')
            + tr("错误号: ") + QString::number(errorID) + QLatin1Char('\n')
            + tr("错误信息: ") + errorMsg;
        showMessage(this, QMessageBox::Critical, tr("查询失败"), message);
        this->isTotalLast = true;
        setTips(title + tr("查询错误"));
        return;
    }

    collectNewRecords();
    this->isTotalLast = isTotalLast;
    const int shown = model ? model->rowCount() : 0;
    if (!this->isTotalLast && records.size() < shown + AnswerLead) {
        sendNextRequest();
        return;
    }
    if (model) {
        model->setDataSource(records);
        const QScrollBar* bar = form->tableView_historyordertradewid->verticalScrollBar();
        if (bar->value() == bar->maximum())
            model->loadNextPage();
    }
    if (loadAllRequested)
        loadAllRecords();
}

void HistoryRecordWid::setTips(const QString& text)
{
    form->label_historyordertradewid_tips->setText(text);
}

} // namespace VEK_SC_Space
