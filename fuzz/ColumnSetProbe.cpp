#include "ColumnSetProbe.h"

#include <QVariant>
#include <QtNumeric>

#include <algorithm>
#include <climits>
#include <cstring>
#include <typeinfo>
#include <vector>

namespace VEK_SC_Space {

namespace {

// Equal in type and value; doubles bit for bit, so that NaN equals itself.
bool identical(const QVariant& a, const QVariant& b)
{
    if (a.userType() != b.userType())
        return false;
    if (a.userType() == QMetaType::Double) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return !a.isValid() || a == b;
}

// A number as a cell shows it: QString::number's fixed-point text, but without the sign of a
// value that rounds to zero.
QString shownNumber(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) == text.size() - 2)
        text.remove(0, 1);
    return text;
}

QString describe(const QVariant& value)
{
    if (!value.isValid())
        return QStringLiteral("invalid");
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(value.typeName()), value.toString());
}

// Calls `operation` and tells whether it threw std::bad_any_cast (and nothing else).
template <typename Operation>
bool throwsBadAnyCast(Operation operation)
{
    try {
        operation();
    } catch (const std::bad_any_cast&) {
        return true;
    }
    return false;
}

} // namespace

ColumnSetProbe::ColumnSetProbe(const ColumnSetEntry& entry, UserData* account)
    : set(entry)
    , userData(account)
    , header(entry.create())
{
    for (const ColProperty* column : header->allColumns())
        registered.append(column->id);
    std::sort(registered.begin(), registered.end());
    probed = {INT_MIN, -1000, -2, -1};
    for (int id = 0; id <= registered.last() + 2; ++id)
        probed.append(id);
    probed << 1000 << INT_MAX;
}

ColumnSetProbe::~ColumnSetProbe() = default;

QString ColumnSetProbe::check(const std::uint8_t* data, std::size_t size)
{
    void* record = set.allocate();
    std::memcpy(record, data, std::min(size, set.recordSize));
    const std::vector<unsigned char> before(static_cast<unsigned char*>(record),
                                            static_cast<unsigned char*>(record) + set.recordSize);
    QString problem;
    const std::any wrapped = set.wrap(record);
    for (int column : qAsConst(probed)) {
        problem = checkCell(column, wrapped);
        if (!problem.isEmpty())
            break;
    }
    if (problem.isEmpty() && std::memcmp(before.data(), record, set.recordSize) != 0)
        problem = QStringLiteral("the record was changed");
    set.release(record);
    return problem;
}

QString ColumnSetProbe::checkCell(int column, const std::any& record)
{
    const QString text = header->getColumnDisplayText(column, record, userData);
    const QVariant raw = header->getColumnRawValue(column, record, userData);
    const auto where = [&](const QString& what) {
        return QStringLiteral("%1 column %2: %3 (text \"%4\", raw %5)")
            .arg(QString::fromLatin1(set.name))
            .arg(column)
            .arg(what, text, describe(raw));
    };

    if (header->getColumnDisplayText(column, record, userData) != text)
        return where(QStringLiteral("the display text differs when asked again"));
    if (!identical(header->getColumnRawValue(column, record, userData), raw))
        return where(QStringLiteral("the raw value differs when asked again"));

    if (!std::binary_search(registered.cbegin(), registered.cend(), column)) {
        if (!text.isEmpty() || raw.isValid())
            return where(QStringLiteral("an unregistered column gave a cell"));
        return QString();
    }

    if (text.contains(QChar(0)))
        return where(QStringLiteral("the display text holds a NUL"));
    if (raw.userType() == QMetaType::QString && raw.toString().contains(QChar(0)))
        return where(QStringLiteral("the raw text holds a NUL"));

    if (raw.userType() == QMetaType::Double) {
        const double value = raw.toDouble();
        int decimals = 0;
        if (text == shownNumber(value, 2))
            decimals = 2;
        else if (text == shownNumber(value, 3))
            decimals = 3;
        else
            return where(QStringLiteral("the text is not the raw number with 2 or 3 decimals"));
        // NaN and the infinities read the same at any precision: nothing to learn from them.
        const auto learnt = decimalsByColumn.constFind(column);
        if (!qIsFinite(value))
            return QString();
        if (learnt == decimalsByColumn.cend())
            decimalsByColumn.insert(column, decimals);
        else if (*learnt != decimals)
            return where(QStringLiteral("the number of decimals changed from %1").arg(*learnt));
    }
    return QString();
}

QString ColumnSetProbe::checkNullAndForeign()
{
    const std::any null = set.wrap(nullptr);
    for (int column : qAsConst(probed)) {
        if (!header->getColumnDisplayText(column, null, userData).isEmpty()
            || header->getColumnRawValue(column, null, userData).isValid())
            return QStringLiteral("%1 column %2: a null record gave a cell").arg(QString::fromLatin1(set.name)).arg(column);
    }

    // Every other set's record type, and an empty std::any.
    void* zeroed = set.allocate();
    QString problem;
    std::vector<std::any> foreign{std::any()};
    for (int i = 0; i < ColumnSetCount; ++i) {
        const ColumnSetEntry& other = columnSetCatalog()[i];
        if (&other != &set)
            foreign.push_back(other.wrap(zeroed));
    }
    for (const std::any& value : foreign) {
        for (int column : qAsConst(registered)) {
            const bool textThrows = throwsBadAnyCast([&] { header->getColumnDisplayText(column, value, userData); });
            const bool rawThrows = throwsBadAnyCast([&] { header->getColumnRawValue(column, value, userData); });
            if (!textThrows || !rawThrows) {
                problem = QStringLiteral("%1 column %2: a std::any holding %3 was taken")
                              .arg(QString::fromLatin1(set.name))
                              .arg(column)
                              .arg(value.has_value() ? QString::fromLatin1(value.type().name()) : QStringLiteral("nothing"));
                break;
            }
        }
        if (!problem.isEmpty())
            break;
    }
    set.release(zeroed);
    return problem;
}

} // namespace VEK_SC_Space
