// The page's table repaints for every change a user can see, and skips the repaint only for
// rows appended below the ones in sight, while its scroll bar still follows them.

#include "HistoryTableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QtTest>

#include <functional>

using namespace VEK_SC_Space;

namespace {

constexpr int RowHeight = 20;

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void appendRows(QStandardItemModel& model, int count)
{
    for (int i = 0; i < count; ++i) {
        const int value = model.rowCount();
        model.appendRow({new QStandardItem(QString::number(value)), new QStandardItem(QString::number(-value))});
    }
}

} // namespace

using Change = std::function<void(QStandardItemModel&, HistoryTableView&)>;
Q_DECLARE_METATYPE(Change)

class tst_HistoryTableView : public QObject
{
    Q_OBJECT

private slots:
    void repaint_data();
    void repaint();
};

void tst_HistoryTableView::repaint_data()
{
    QTest::addColumn<int>("rowsBefore");
    QTest::addColumn<bool>("scrolledToEnd");
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("repainted");

    const auto appending = [](int rows, Change then = Change()) {
        return Change([rows, then](QStandardItemModel& model, HistoryTableView& view) {
            appendRows(model, rows);
            if (then)
                then(model, view);
        });
    };
    QTest::newRow("rows appended out of sight") << 50 << false << appending(10) << false;
    QTest::newRow("rows appended to a table not yet full") << 3 << false << appending(2) << true;
    QTest::newRow("rows appended with the view at the end") << 50 << true << appending(10) << true;
    QTest::newRow("appended, then a row inserted in sight")
        << 50 << false << appending(10, [](QStandardItemModel& model, HistoryTableView&) {
               model.insertRow(0, {new QStandardItem(QStringLiteral("x")), new QStandardItem(QStringLiteral("y"))});
           })
        << true;
    QTest::newRow("appended, then a row removed")
        << 50 << false
        << appending(10, [](QStandardItemModel& model, HistoryTableView&) { model.removeRow(0); })
        << true;
    QTest::newRow("appended, then sorted")
        << 50 << false
        << appending(10, [](QStandardItemModel& model, HistoryTableView&) { model.sort(1, Qt::AscendingOrder); })
        << true;
    QTest::newRow("appended, then reset")
        << 50 << false << appending(10, [](QStandardItemModel& model, HistoryTableView&) {
               model.clear();
               appendRows(model, 50);
           })
        << true;
    QTest::newRow("appended, then another model")
        << 50 << false << appending(10, [](QStandardItemModel&, HistoryTableView& view) {
               view.setModel(new QStandardItemModel(60, 2, &view));
           })
        << true;
}

void tst_HistoryTableView::repaint()
{
    QFETCH(int, rowsBefore);
    QFETCH(bool, scrolledToEnd);
    QFETCH(Change, change);
    QFETCH(bool, repainted);

    QStandardItemModel model(0, 2);
    appendRows(model, rowsBefore);
    HistoryTableView view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(RowHeight);
    view.setModel(&model);
    view.resize(300, 250);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    if (scrolledToEnd)
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QTest::qWait(50);

    PaintCounter viewport(view.viewport());
    change(model, view);
    QTest::qWait(50);
    QCOMPARE(viewport.paints > 0, repainted);
    // A removal stops the row header's updates until the next full layout.
    QVERIFY(view.verticalHeader()->updatesEnabled());
    // Painted or not, the scroll bar reaches the last row.
    const int rowsInSight = view.viewport()->height() / view.rowHeight(0);
    QCOMPARE(view.verticalScrollBar()->maximum(), qMax(0, view.model()->rowCount() - rowsInSight));
}

QTEST_MAIN(tst_HistoryTableView)
#include "tst_historytableview.moc"
