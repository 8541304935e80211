// The page's table repaints for every change a user can see and skips the repaint only for rows
// appended below the ones in sight, while its scroll bar still follows them.

#include "HistoryTableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QtTest>

using namespace VEK_SC_Space;

namespace {

class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void appendRows(QStandardItemModel& model, int count)
{
    for (int i = 0; i < count; ++i)
        model.appendRow({new QStandardItem(QString::number(model.rowCount())), new QStandardItem(QString::number(-i))});
}

} // namespace

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
    QTest::addColumn<QString>("changes");   // done one after the other
    QTest::addColumn<bool>("repainted");

    QTest::newRow("rows appended out of sight") << 50 << false << "append" << false;
    QTest::newRow("rows appended to a table not yet full") << 3 << false << "append" << true;
    QTest::newRow("rows appended with the view at the end") << 50 << true << "append" << true;
    QTest::newRow("appended, then a row inserted in sight") << 50 << false << "append insert" << true;
    QTest::newRow("appended, then a row removed") << 50 << false << "append remove" << true;
    QTest::newRow("appended, then sorted") << 50 << false << "append sort" << true;
    QTest::newRow("appended, then reset") << 50 << false << "append reset" << true;
    QTest::newRow("appended, then another model") << 50 << false << "append model" << true;
    QTest::newRow("appended, then a column inserted") << 50 << false << "append column" << true;
    QTest::newRow("appended, then a column removed") << 50 << false << "append uncolumn" << true;
}

void tst_HistoryTableView::repaint()
{
    QFETCH(int, rowsBefore);
    QFETCH(bool, scrolledToEnd);
    QFETCH(QString, changes);
    QFETCH(bool, repainted);

    QStandardItemModel model(0, 2);
    appendRows(model, rowsBefore);
    HistoryTableView view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(20);
    view.setModel(&model);
    view.resize(300, 250);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    if (scrolledToEnd)
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QTest::qWait(50);

    PaintCounter viewport(view.viewport());
    for (const QString& change : changes.split(QLatin1Char(' '))) {
        if (change == QLatin1String("append"))
            appendRows(model, 10);
        else if (change == QLatin1String("insert"))
            model.insertRow(0, {new QStandardItem(QStringLiteral("x")), new QStandardItem(QStringLiteral("y"))});
        else if (change == QLatin1String("remove"))
            model.removeRow(0);
        else if (change == QLatin1String("sort"))
            model.sort(1, Qt::AscendingOrder);
        else if (change == QLatin1String("reset"))
            model.setRowCount(0), appendRows(model, 50);
        else if (change == QLatin1String("model"))
            view.setModel(new QStandardItemModel(60, 2, &view));
        else if (change == QLatin1String("column"))
            model.insertColumn(0);
        else if (change == QLatin1String("uncolumn"))
            model.removeColumn(1);
    }
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
