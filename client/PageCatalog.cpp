#include "PageCatalog.h"

#include "ClientConstants.h"

#include <QCoreApplication>

namespace VEK_SC_Space {

QString PageKind::columnSet(int accountType) const
{
    switch (accountType) {
    case 1: return stockColumnSet;
    case 2: return creditColumnSet;
    default: return QString();
    }
}

QString PageKind::displayLabel() const
{
    return QCoreApplication::translate("PageCatalog", label);
}

QString ColumnSetEntry::displayLabel() const
{
    return QCoreApplication::translate("PageCatalog", "%1, %2 (%3)")
        .arg(page->displayLabel(), PageCatalog::accountTypeLabel(accountType), key);
}

namespace PageCatalog {

const QList<PageKind>& pages()
{
    static const QList<PageKind> catalog = {
        {22, QStringLiteral("orders"), QT_TRANSLATE_NOOP("PageCatalog", "History orders"),
         HistoryKind::Order, TH_STOCK_HISTORY_ORDER, TH_CREDIT_HISTORY_ORDER},
        {23, QStringLiteral("trades"), QT_TRANSLATE_NOOP("PageCatalog", "History trades"),
         HistoryKind::Trade, TH_STOCK_HISTORY_TRADE, TH_CREDIT_HISTORY_TRADE},
        {51, QStringLiteral("debts"), QT_TRANSLATE_NOOP("PageCatalog", "Margin debts"),
         HistoryKind::CreditDebt, QString(), TH_CREDIT_HISTORY_DEBT},
        {52, QStringLiteral("delivery"), QT_TRANSLATE_NOOP("PageCatalog", "Delivery slips"),
         HistoryKind::Delivery, TH_STOCK_HISTORY_DELIVERY, TH_CREDIT_HISTORY_DELIVERY},
        {53, QStringLiteral("capital"), QT_TRANSLATE_NOOP("PageCatalog", "Capital"),
         HistoryKind::Capital, TH_STOCK_HISTORY_CAPITAL, TH_CREDIT_HISTORY_CAPITAL},
        {54, QStringLiteral("fundflows"), QT_TRANSLATE_NOOP("PageCatalog", "Fund flows"),
         HistoryKind::FundDetail, TH_STOCK_HISTORY_FUNDDETAIL, TH_CREDIT_HISTORY_FUNDDETAIL},
        {55, QStringLiteral("positions"), QT_TRANSLATE_NOOP("PageCatalog", "Positions"),
         HistoryKind::Position, TH_STOCK_HISTORY_POSITION, TH_CREDIT_HISTORY_POSITION},
        {56, QStringLiteral("profit"), QT_TRANSLATE_NOOP("PageCatalog", "Profit and loss"),
         HistoryKind::Profit, TH_STOCK_HISTORY_PROFIT, TH_CREDIT_HISTORY_PROFIT},
    };
    return catalog;
}

QList<ColumnSetEntry> columnSets()
{
    QList<ColumnSetEntry> sets;
    for (const PageKind& kind : pages()) {
        for (int accountType : {1, 2}) {
            if (kind.servesAccountType(accountType))
                sets.append({kind.columnSet(accountType), &kind, accountType});
        }
    }
    return sets;
}

const PageKind* page(int code)
{
    for (const PageKind& kind : pages()) {
        if (kind.code == code)
            return &kind;
    }
    return nullptr;
}

QString accountTypeLabel(int accountType)
{
    return accountType == 2 ? QCoreApplication::translate("PageCatalog", "credit account")
                            : QCoreApplication::translate("PageCatalog", "stock account");
}

} // namespace PageCatalog
} // namespace VEK_SC_Space
