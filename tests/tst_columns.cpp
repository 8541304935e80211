// The fifteen column sets. `rendering`: each set's columns and what it shows for generated records,
// compared with a reviewed file under data/columns/. `conversions`: the shared helpers and the
// rules of single sets at the inputs the generator never makes.

#include "Approval.h"
#include "ColumnSetCatalog.h"
#include "Util.h"
#include "service/HistoryGenerator.h"
#include "service/HistoryWindow.h"

#include <QRandomGenerator>
#include <QTranslator>
#include <QtTest>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

using namespace VEK_SC_Space;
using namespace VEK_SC_Space::HistoryColumn;
using namespace ZRVALUEADDPROAPI;

namespace {

// A raw value as text: strings quoted, doubles with a decimal point, nothing for an invalid one.
QString rawText(const QVariant& raw)
{
    switch (raw.userType()) {
    case QMetaType::UnknownType: return QString();
    case QMetaType::Int: return QString::number(raw.toInt());
    case QMetaType::Double: {
        const QString number = raw.toString();
        return number.contains(QLatin1Char('.')) || number.contains(QLatin1Char('e')) ? number : number + QStringLiteral(".0");
    }
    case QMetaType::QString: return QLatin1Char('"') + raw.toString() + QLatin1Char('"');
    default: return QString::fromLatin1(raw.typeName()) + QLatin1Char(':') + raw.toString();
    }
}

QString shown(const CellText& cell) { return cell.toString(); }

// One cell as "display<raw>"; a string raw value equal to the display text is left out.
QString cell(TableHeader& set, int column, const std::any& record, UserData* account)
{
    const QString display = set.getColumnDisplayText(column, record, account);
    const QVariant raw = set.getColumnRawValue(column, record, account);
    if (raw.userType() == QMetaType::QString && raw.toString() == display)
        return display;
    return display + QLatin1Char('<') + rawText(raw) + QLatin1Char('>');
}

QString recordLine(TableHeader& set, const std::any& record, UserData* account)
{
    QStringList cells;
    for (const ColProperty* column : set.allColumns())
        cells << cell(set, column->id, record, account);
    return cells.join(QStringLiteral(" | "));
}

// The key, then every column in registration order: id, title, width, alignment, hidden by default.
QString columnsLine(const TableHeader& set)
{
    QStringList columns;
    for (const ColProperty* c : set.allColumns()) {
        const Qt::Alignment a = c->alignment;
        const QString align = a == (Qt::AlignHCenter | Qt::AlignVCenter) ? QStringLiteral("centre")
            : a == (Qt::AlignRight | Qt::AlignVCenter)                   ? QStringLiteral("right")
                                                                         : QString::number(int(a));
        columns << QStringLiteral("%1 %2 %3 %4%5").arg(c->id).arg(c->title).arg(c->width).arg(align).arg(c->flag ? QString() : QStringLiteral(" hidden"));
    }
    return set.key() + QStringLiteral(": ") + columns.join(QStringLiteral(", "));
}

// Cells of a set for one record that starts zeroed and is filled in by `fill`.
template <typename Set, typename Record>
QString cellsOf(std::initializer_list<int> columns, const std::function<void(Record&)>& fill, UserData* account = nullptr)
{
    Record r{};
    fill(r);
    Set set;
    QStringList cells;
    for (int column : columns)
        cells << cell(set, column, std::any(&r), account);
    return cells.join(QLatin1Char('|'));
}

void setStatus(CZRVDHistoryOrderEXField& r, char status) { r.OrderStatus = status; }
void setStatus(CZRVDCreditHistoryOrderEXField& r, char status) { r.OrderStatus = status; }
template <typename Record>
void setStatus(Record&, char) {}

// The row category (raw value of column 0) as the set gives it, one digit per direction code.
template <typename Set, typename Record>
QString categoriesOf(const char* directions, char status)
{
    Set set;
    QString digits;
    for (const char* d = directions; *d; ++d) {
        Record r{};
        r.Direction = *d;
        setStatus(r, status);
        digits += set.getColumnRawValue(0, std::any(&r), nullptr).toString();
    }
    return digits;
}

QString categories(DirectionSet set, const char* directions)
{
    QString digits;
    for (const char* d = directions; *d; ++d)
        digits += QString::number(rowCategory(set, *d));
    return digits;
}

using Debt = CZRVDCreditHistoryDebtInfoField;

// The business codes of the margin-debt set that have a text, in column 4 or 5.
QString debtCodesWithText(int column)
{
    CreditHistoryCreditDebtTableHeader set;
    QStringList codes;
    for (int code = -2; code <= 300; ++code) {
        Debt r{};
        (column == 4 ? r.EntrustType : r.DebtStatus) = code;
        if (!set.getColumnDisplayText(column, std::any(&r), nullptr).isEmpty())
            codes << QString::number(code);
    }
    return codes.join(QLatin1Char(' '));
}

// Marks every text translated in the column sets' context, and no other; a count shows too, since
// a text asked for with a count is looked up as a plural form, which a title has not.
class ContextMarker : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char*, int n) const override
    {
        if (qstrcmp(context, "VEK_SC_Space::TableHeader") != 0)
            return QString();
        return QLatin1Char('[') + QString::fromUtf8(source) + (n < 0 ? QString() : QStringLiteral("#%1").arg(n)) + QLatin1Char(']');
    }
    bool isEmpty() const override { return false; }
};

// Set names with a title not marked by the translator, then two marked debt texts.
QString translatedTexts()
{
    ContextMarker marker;
    QCoreApplication::installTranslator(&marker);
    QStringList unmarked;
    for (int i = 0; i < ColumnSetCount; ++i) {
        const std::unique_ptr<TableHeader> set(columnSetCatalog()[i].create());
        for (const ColProperty* column : set->allColumns()) {
            if (!column->title.startsWith(QLatin1Char('[')) || column->title.contains(QLatin1Char('#')))
                unmarked << QLatin1String(columnSetCatalog()[i].name);
        }
    }
    const QString debt = cellsOf<CreditHistoryCreditDebtTableHeader, Debt>({4, 5}, [](Debt& r) { r.EntrustType = 64; r.DebtStatus = 3; });
    QCoreApplication::removeTranslator(&marker);
    return unmarked.join(QLatin1Char(' ')) + QLatin1Char('|') + debt;
}

// What a set makes of a std::any that does not hold its record pointer.
QString takes(const std::any& value)
{
    StockHistoryOrderTableHeader set;
    try {
        return cell(set, 8, value, nullptr);
    } catch (const std::bad_any_cast&) {
        return QStringLiteral("throws");
    }
}

// The values, out of many drawn with a fixed seed, whose hand-made fixed-point text differs from
// QString::number's but for the sign of a value that rounds to zero: exact ties at every
// precision, both signs, subnormals to 2^53 and beyond.
QStringList fixedNotAsQt()
{
    QList<double> values{0.0, -0.0, 0.0005, 0.0015, 9.9995, -0.5, 1e-300, 4.9e-324, 4503599627370495.5,
                         4503599627370496.0, 9007199254740993.0, -1e18, DBL_MAX, qInf(), -qInf(), qQNaN()};
    QRandomGenerator random(16);
    for (int i = 0; i < 20000; ++i) {
        const double tie = random.bounded(1 << 24) / 16.0; // x.5, x.25, x.125, x.0625: ties at 0 to 3 decimals
        const double any = random.generateDouble() * std::pow(10.0, random.bounded(-8, 17));
        values << tie << -tie << any << -any;
    }
    QStringList differing;
    for (const double value : qAsConst(values)) {
        for (int decimals = 0; decimals <= 3; ++decimals) {
            char text[FixedRoom];
            const QString made = QString::fromLatin1(text, int(fixed(text, value, decimals) - text));
            QString qt = QString::number(value, 'f', decimals);
            if (qt.startsWith(QLatin1Char('-')) && qt.count(QLatin1Char('0')) == qt.size() - (decimals ? 2 : 1))
                qt.remove(0, 1); // all zeros: shown without the sign
            if (made != qt)
                differing << QStringLiteral("%1 at %2: %3").arg(value, 0, 'g', 17).arg(decimals).arg(made);
        }
    }
    return differing;
}

} // namespace

class tst_Columns : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rendering_data();
    void rendering();
    void conversions_data();
    void conversions();
};

void tst_Columns::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // numbers must ignore it
}

void tst_Columns::rendering_data()
{
    QTest::addColumn<int>("set");
    for (int i = 0; i < ColumnSetCount; ++i)
        QTest::newRow(columnSetCatalog()[i].name) << i;
}

// The columns line, six generated records, the base-library calls the first one made, then a
// zeroed record and one of letters without a NUL, the next of A to E every four bytes: a text
// read past its room shows more letters, one read past the record is AddressSanitizer's to
// report, and neighbouring number fields hold different values.
void tst_Columns::rendering()
{
    QFETCH(int, set);
    const ColumnSetEntry& e = columnSetCatalog()[set];
    const std::unique_ptr<TableHeader> columns(e.create());
    UserData account(e.accountType);
    const HistoryWindow window(QDate(2024, 3, 15), 30, 6);
    const HistoryGenerator generator(QStringLiteral("880012345"), e.accountType, window);
    QStringList lines{columnsLine(*columns)};
    for (int i = 0; i < 6; ++i) {
        QStringList calls;
        void* record = generator.makeRecord(e.kind, i);
        Util::setCallTrace(i == 0 ? &calls : nullptr);
        lines << recordLine(*columns, e.wrap(record), &account);
        e.release(record);
        Util::setCallTrace(nullptr);
        if (i == 0) {
            lines << QStringLiteral("calls: %1; lookups: %2 code, %3 name").arg(calls.join(QLatin1Char(' '))).arg(account.displaySecurityIdCalls).arg(account.translateNameCalls);
        }
    }
    for (const bool letters : {false, true}) {
        void* record = e.allocate();
        for (std::size_t i = 0; letters && i < e.recordSize; ++i)
            static_cast<char*>(record)[i] = char('A' + i / 4 % 5);
        lines << (letters ? QStringLiteral("letters: ") : QStringLiteral("zero: ")) + recordLine(*columns, e.wrap(record), &account);
        e.release(record);
    }
    QVERIFY(matchesApproved(QStringLiteral("columns/%1.txt").arg(QLatin1String(e.name)), lines));
}

void tst_Columns::conversions_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QStringList& actual, const char* expected) {
        QTest::newRow(name) << actual.join(QLatin1Char('|')) << QString::fromUtf8(expected);
    };
    UserData account(int(AccountKind::Stock));
    const char full[4] = {'A', 'B', 'C', 'D'}; // fills its room, no NUL
    const char early[6] = {'A', 'B', '\0', 'C', 'D', 'E'};
    const char code6[6] = {'6', '0', '0', '0', '0', '0'};
    const char sh[2] = {'s', 'H'};

    row("rounding", {shown(TextCell::price(12.3456)), shown(TextCell::price(0.0005)), shown(TextCell::price(10)), shown(TextCell::amount(1234567.891)), shown(TextCell::amount(-12.5)), shown(TextCell::amount(0.375)), shown(TextCell::count(INT_MIN))}, "12.346|0.001|10.000|1234567.89|-12.50|0.38|-2147483648");
    // A settled debt's floating residue is no debt; the sign stays where a digit shows.
    row("rounds to zero: no sign", {shown(TextCell::amount(-7.3e-12)), shown(TextCell::price(-0.0004)), shown(TextCell::amount(-0.004999)), shown(TextCell::amount(-4.9e-324)), shown(TextCell::price(-0.0)), shown(TextCell::amount(-0.005)), shown(TextCell::price(-0.0005))},
        "0.00|0.000|0.00|0.00|0.000|-0.01|-0.001");
    row("fixed decimals exactly as Qt's", fixedNotAsQt(), "");
    row("time cut", {timeCut("09:30:01.250"), timeCut("093001"), timeCut(".250"), timeCut("09:30:01.250.7"), timeCut("九点半.一"), timeCut(full)},
        "09:30:01|093001||09:30:01|九点半|ABCD");
    row("code bytes are signed", {code('\xE9').toString(), code('\x80').toString(), code('\x7F').toString(), code('1').toString()},
        "-23|-128|127|49");
    row("text up to its NUL or its room", {text(full), text(early), message(full), message(early), text("")}, "ABCD|AB|ABCD|AB|");

    QString letters;
    for (const char* l : {"SH", "sh", "Sh", "sH", "SZ", "sz", "sZ", "BJ", "bj", "Bj", "", "HK", " SH", "SH ", "SHA", "S", "1", "SS"})
        letters += exchangeFromLetters(QString::fromLatin1(l)) ? QChar::fromLatin1(exchangeFromLetters(QString::fromLatin1(l))) : QChar('-');
    row("exchange letters, any case", {letters}, "1111222444--------");

    row("security look-ups", {securityCode("600000", '1', &account), securityName("600000", '1', &account), securityName("600000", '2', &account), securityCode("99999", '1', &account), securityCode(code6, '1', &account), securityName(code6, '1', &account), securityNameByLetters(code6, sh, &account), securityNameByLetters("600000", "HK", &account), QString::number(account.displaySecurityIdCalls), QString::number(account.translateNameCalls)},
        "600000|浦发银行||99999|600000|浦发银行|浦发银行||3|4");
    row("no account, no look-up", {securityCode("600000", '1', nullptr), securityName("600000", '1', nullptr), securityNameByLetters("600000", "SH", nullptr)}, "||");

    // Direction codes 0 1 5 6 a b j k m u z; order statuses 0 to 9 with direction 1.
    QString statuses;
    for (const char s : QByteArrayLiteral("0123456789"))
        statuses += QString::number(rowCategory(DirectionSet::Stock, s, '1'));
    row("categories", {categories(DirectionSet::Stock, "0156abjkmuz"), categories(DirectionSet::Credit, "0156abjkmuz"), categories(DirectionSet::Credit, "\xE9"), statuses},
        "23232333332|23222333332|2|3133311133");
    // Directions 0, 1 and 6 (repo), then 1 at status 5: the account kind's directions, and the status in orders only.
    row("categories as each set gives them",
        {categoriesOf<StockHistoryOrderTableHeader, CZRVDHistoryOrderEXField>("016", '0')
             + categoriesOf<StockHistoryOrderTableHeader, CZRVDHistoryOrderEXField>("1", '5'),
         categoriesOf<CreditHistoryOrderTableHeader, CZRVDCreditHistoryOrderEXField>("016", '0')
             + categoriesOf<CreditHistoryOrderTableHeader, CZRVDCreditHistoryOrderEXField>("1", '5'),
         categoriesOf<StockHistoryTradeTableHeader, CZRVDHistoryTradeEXField>("0161", '5'),
         categoriesOf<CreditHistoryTradeTableHeader, CZRVDCreditHistoryTradeEXField>("0161", '5')},
        "2331|2321|2333|2323");

    const auto debt = [](int type, int financed, int shortVolume, int repaid) {
        return cellsOf<CreditHistoryCreditDebtTableHeader, Debt>({6, 7}, [=](Debt& r) {
            r.EntrustType = type;
            r.FinancedVolume = financed;
            r.ShortVolume = shortVolume;
            r.RepaidVolume = repaid;
        });
    };
    row("debt volumes by entrust type", {debt(61, 1000, 444, 300), debt(64, 777, 500, 100), debt(62, 1000, 500, 300), debt(63, 1000, 500, 300), debt(61, INT_MIN, 0, 1)},
        "1000<1000>|700<700>|500<500>|400<400>|<>|<>|<>|<>|-2147483648<-2147483648>|2147483647<2147483647>");
    row("debt codes with a text", {debtCodesWithText(4), debtCodesWithText(5)},
        "1 2 4 5 34 35 61 62 63 64 67 68 69 70 71 72 73|0 3");

    using Hold = CZRVDHistoryHoldField;
    const auto cost = [](double holdCost, int volume) {
        return cellsOf<StockHistoryPositionTableHeader, Hold>({5}, [=](Hold& r) { r.HoldCost = holdCost; r.HoldVolume = volume; });
    };
    row("cost price needs a volume of 1 or more", {cost(1000, 300), cost(5, 1), cost(1000, 0), cost(1000, -100), cost(1000, INT_MIN)},
        "3.333<3.3333333333333335>|5.000<5.0>|-<>|-<>|-<>");

    static CZRVDHistoryOrderEXField order{};
    order.OrderPrice = 1.5;
    row("only the record's own pointer is taken",
        {takes(&order), takes(static_cast<CZRVDHistoryOrderEXField*>(nullptr)), takes(static_cast<const CZRVDHistoryOrderEXField*>(&order)),
         takes(static_cast<void*>(&order)), takes(42), takes(std::any()), takes(order)},
        "1.500<1.5>|<>|throws|throws|throws|throws|throws");
    row("texts translate in TableHeader's context", {translatedTexts()}, "|[融券卖出]<64>|[已了结]<3>");
}

void tst_Columns::conversions()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

QTEST_MAIN(tst_Columns)
#include "tst_columns.moc"
