// The page's table repaints for every change a user can see and skips the repaint only for rows
// appended below the ones in sight, while its scroll bar still follows them.

#include "HistoryTableView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QtTest>

using namespace VEK_SC_Space;

namespace {

struct View : HistoryTableView
{
    int layouts = 0;
    QRegion painted;
    bool viewportEvent(QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return HistoryTableView::viewportEvent(event);
    }
    void doItemsLayout() override
    {
        ++layouts;
        HistoryTableView::doItemsLayout();
    }
    // Repaints asked for earlier are done by the time a pixel asked for now is painted: they
    // go through the same repaint queue. `painted` keeps what else was painted.
    bool paintsDone()
    {
        executeDelayedItemsLayout();
        const QRect marker(0, 0, 1, 1);
        const QRegion before = std::exchange(painted, QRegion());
        viewport()->update(marker);
        const bool done = QTest::qWaitFor([&] { return painted.contains(marker); }, 20000);
        painted = before + (painted - marker);
        return done;
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
    QTest::addColumn<QString>("changes"); // one right after the other; "end": scrolled there first
    QTest::addColumn<bool>("repainted");
    QTest::newRow("rows appended out of sight") << 50 << "append" << false;
    QTest::newRow("rows appended to a table not yet full") << 3 << "append" << true;
    QTest::newRow("rows appended with the view at the end") << 50 << "end append" << true;
    for (const char* then : {"insert", "remove", "sort", "reset", "model"})
        QTest::newRow(QByteArray("appended, then ") + then) << 50 << QStringLiteral("append ") + then << true;
}

void tst_HistoryTableView::repaint()
{
    QFETCH(int, rowsBefore);
    QFETCH(QString, changes);
    QFETCH(bool, repainted);
    QStandardItemModel model(0, 2);
    appendRows(model, rowsBefore);
    View view;
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(20);
    view.setModel(&model);
    view.resize(300, 250);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    if (changes.startsWith(QLatin1String("end")))
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QVERIFY(view.paintsDone());
    view.painted = QRegion();
    view.layouts = 0;
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
    }
    // The view lays its rows out on a timer of its own, and repaints, if at all, after that.
    QTRY_VERIFY_WITH_TIMEOUT(view.layouts > 0, 20000);
    QVERIFY(view.paintsDone());
    QCOMPARE(!view.painted.isEmpty(), repainted);
    // A removal stops the row header's updates until the next full layout.
    QVERIFY(view.verticalHeader()->updatesEnabled());
    // Painted or not, the scroll bar reaches the last row.
    const int rowsInSight = view.viewport()->height() / view.rowHeight(0);
    QCOMPARE(view.verticalScrollBar()->maximum(), qMax(0, view.model()->rowCount() - rowsInSight));
}

QTEST_MAIN(tst_HistoryTableView)
#include "tst_historytableview.moc"
