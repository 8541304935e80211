#include "TableHeader.h"

#include <QJsonArray>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

using namespace VEK_SC_Space;

namespace {

const QString instrumentsKey = QStringLiteral("THTestInstruments");
constexpr int alignCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr int alignRight = Qt::AlignRight | Qt::AlignVCenter;

// Ids out of registration order, two columns hidden by default, one of them in the middle.
class Instruments : public TableHeader
{
public:
    explicit Instruments(QWidget* parent = nullptr)
        : TableHeader(instrumentsKey, parent)
    {
        addColumn(3, QStringLiteral("Code"), 80, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(0, QStringLiteral("日期"), 100, Qt::AlignHCenter | Qt::AlignVCenter, true);
        addColumn(1, QStringLiteral("Note"), 150, Qt::AlignHCenter | Qt::AlignVCenter, false);
        addColumn(2, QStringLiteral("Price"), 90, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(4, QStringLiteral("Fee"), 70, Qt::AlignRight | Qt::AlignVCenter, false);
    }

    QString getColumnDisplayText(int, std::any, UserData*) override { return QString(); }
    QVariant getColumnRawValue(int, std::any, UserData*) override { return QVariant(); }
};

QList<int> ids(const QList<ColProperty*>& columns)
{
    QList<int> result;
    for (const ColProperty* column : columns)
        result.append(column->id);
    return result;
}

// Instruments' columns as registered, before any saved choice.
QStringList registeredColumns()
{
    return {
        QStringLiteral("3 Code 80 %1 flag shown").arg(alignRight),
        QStringLiteral("0 日期 100 %1 flag shown").arg(alignCentre),
        QStringLiteral("1 Note 150 %1 - -").arg(alignCentre),
        QStringLiteral("2 Price 90 %1 flag shown").arg(alignRight),
        QStringLiteral("4 Fee 70 %1 - -").arg(alignRight),
    };
}

QString describe(const ColProperty* column)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(column->id)
        .arg(column->title)
        .arg(column->width)
        .arg(int(column->alignment))
        .arg(column->flag ? "flag" : "-")
        .arg(column->shown ? "shown" : "-");
}

QString describe(const QJsonValue& value)
{
    const QJsonObject column = value.toObject();
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(column.value("id").toInt(-1))
        .arg(column.value("title").toString())
        .arg(column.value("width").toInt(-1))
        .arg(column.value("alignment").toInt(-1))
        .arg(column.value("flag").toBool() ? "flag" : "-")
        .arg(column.value("shown").toBool() ? "shown" : "-");
}

} // namespace

class tst_TableHeader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void registrationOrder();
    void defaultColumnsByFlag();
    void savedChoice_data();
    void savedChoice();
    void choiceIsKeptPerKey();
    void choiceSurvivesAndClears();
    void toJson_data();
    void toJson();
    void optionalValuesAreInvalid();
    void ownedByParentWidget();

private:
    QTemporaryDir settingsDir;
};

void tst_TableHeader::initTestCase()
{
    QVERIFY(settingsDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("VE_BaseTests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_tableheader"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QVERIFY(QSettings().fileName().startsWith(settingsDir.path()));
}

void tst_TableHeader::init()
{
    TableHeader::clearColumnChoice(instrumentsKey);
    TableHeader::clearColumnChoice(QStringLiteral("THOther"));
}

void tst_TableHeader::registrationOrder()
{
    Instruments header;
    QStringList columns;
    for (const ColProperty* column : header.allColumns())
        columns.append(describe(column));
    QCOMPARE(columns, registeredColumns());
    QCOMPARE(header.key(), instrumentsKey);
}

void tst_TableHeader::defaultColumnsByFlag()
{
    Instruments header;
    QCOMPARE(ids(header.getShowColumns()), (QList<int>{3, 0, 2}));
    header.initUserColumn();
    QCOMPARE(ids(header.getShowColumns()), (QList<int>{3, 0, 2}));
    QCOMPARE(header.getShowColumns().at(1), header.allColumns().at(1));
}

void tst_TableHeader::savedChoice_data()
{
    QTest::addColumn<QList<int>>("saved");
    QTest::addColumn<QList<int>>("shown");

    QTest::newRow("in the saved order") << QList<int>{2, 4, 3} << QList<int>{2, 4, 3};
    QTest::newRow("a single column") << QList<int>{1} << QList<int>{1};
    QTest::newRow("unknown ids ignored") << QList<int>{7, 1, -1, 0} << QList<int>{1, 0};
    QTest::newRow("repeated ids once") << QList<int>{0, 0, 2, 0} << QList<int>{0, 2};
    QTest::newRow("nothing valid: the defaults") << QList<int>{9, 10} << QList<int>{3, 0, 2};
    QTest::newRow("none saved: the defaults") << QList<int>{} << QList<int>{3, 0, 2};
}

void tst_TableHeader::savedChoice()
{
    QFETCH(QList<int>, saved);
    QFETCH(QList<int>, shown);

    TableHeader::saveColumnChoice(instrumentsKey, saved);
    Instruments header;
    header.initUserColumn();
    QCOMPARE(ids(header.getShowColumns()), shown);
    for (const ColProperty* column : header.allColumns())
        QCOMPARE(column->shown, shown.contains(column->id));
}

void tst_TableHeader::choiceIsKeptPerKey()
{
    TableHeader::saveColumnChoice(QStringLiteral("THOther"), {1, 4});
    Instruments header;
    header.initUserColumn();
    QCOMPARE(ids(header.getShowColumns()), (QList<int>{3, 0, 2}));
    QCOMPARE(TableHeader::savedColumnChoice(QStringLiteral("THOther")), (QList<int>{1, 4}));
    QVERIFY(TableHeader::savedColumnChoice(instrumentsKey).isEmpty());
}

void tst_TableHeader::choiceSurvivesAndClears()
{
    TableHeader::saveColumnChoice(instrumentsKey, {4, 0});
    QSettings().sync();
    QCOMPARE(TableHeader::savedColumnChoice(instrumentsKey), (QList<int>{4, 0}));

    Instruments header;
    header.initUserColumn();
    QCOMPARE(ids(header.getShowColumns()), (QList<int>{4, 0}));

    TableHeader::clearColumnChoice(instrumentsKey);
    QVERIFY(TableHeader::savedColumnChoice(instrumentsKey).isEmpty());
    header.initUserColumn();
    QCOMPARE(ids(header.getShowColumns()), (QList<int>{3, 0, 2}));

    TableHeader::saveColumnChoice(instrumentsKey, {4});
    TableHeader::saveColumnChoice(instrumentsKey, {});
    QVERIFY(TableHeader::savedColumnChoice(instrumentsKey).isEmpty());
}

void tst_TableHeader::toJson_data()
{
    QTest::addColumn<QList<int>>("saved");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QList<int>>("choices");

    QTest::newRow("defaults") << QList<int>{}
                              << registeredColumns()
                              << QList<int>{3, 0, 2};
    QTest::newRow("saved choice") << QList<int>{4, 2, 1}
                                  << QStringList{
                                         QStringLiteral("3 Code 80 %1 flag -").arg(alignRight),
                                         QStringLiteral("0 日期 100 %1 flag -").arg(alignCentre),
                                         QStringLiteral("1 Note 150 %1 - shown").arg(alignCentre),
                                         QStringLiteral("2 Price 90 %1 flag shown").arg(alignRight),
                                         QStringLiteral("4 Fee 70 %1 - shown").arg(alignRight),
                                     }
                                  << QList<int>{4, 2, 1};
}

void tst_TableHeader::toJson()
{
    QFETCH(QList<int>, saved);
    QFETCH(QStringList, columns);
    QFETCH(QList<int>, choices);

    TableHeader::saveColumnChoice(instrumentsKey, saved);
    Instruments header;
    header.initUserColumn();
    const QJsonObject json = header.toJson();

    QCOMPARE(json.value("key").toString(), instrumentsKey);
    QStringList jsonColumns;
    for (const QJsonValue& column : json.value("columns").toArray())
        jsonColumns.append(describe(column));
    QCOMPARE(jsonColumns, columns);
    QList<int> jsonChoices;
    for (const QJsonValue& id : json.value("choices").toArray())
        jsonChoices.append(id.toInt(-1));
    QCOMPARE(jsonChoices, choices);
}

void tst_TableHeader::optionalValuesAreInvalid()
{
    Instruments header;
    int value = 5;
    QVERIFY(!header.getColumnValueUserRoleOffset(0, 1, &value, nullptr).isValid());
    QVERIFY(!header.getHiddenColumnValue(0, &value, nullptr).isValid());
}

void tst_TableHeader::ownedByParentWidget()
{
    auto* page = new QWidget;
    QPointer<TableHeader> header = new Instruments(page);
    QCOMPARE(header->parent(), page);
    QCOMPARE(header->metaObject()->className(), "VEK_SC_Space::TableHeader");
    delete page;
    QVERIFY(header.isNull());
}

QTEST_MAIN(tst_TableHeader)

#include "tst_tableheader.moc"
