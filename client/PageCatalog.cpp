#include "PageCatalog.h"

#include "ClientConstants.h"

#include <QCoreApplication>

namespace VEK_SC_Space {

QString PageKind::columnSet(AccountKind accountType) const
{
    switch (accountType) {
    case AccountKind::Stock: return stockColumnSet;
    case AccountKind::Credit: return creditColumnSet;
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
        {PageType::Order, QStringLiteral("orders"), QT_TRANSLATE_NOOP("PageCatalog", "History orders"),
         HistoryKind::Order, TH_STOCK_HISTORY_ORDER, TH_CREDIT_HISTORY_ORDER},
        {PageType::Trade, QStringLiteral("trades"), QT_TRANSLATE_NOOP("PageCatalog", "History trades"),
         HistoryKind::Trade, TH_STOCK_HISTORY_TRADE, TH_CREDIT_HISTORY_TRADE},
        {PageType::CreditDebt, QStringLiteral("debts"), QT_TRANSLATE_NOOP("PageCatalog", "Margin debts"),
         HistoryKind::CreditDebt, QString(), TH_CREDIT_HISTORY_DEBT},
        {PageType::Delivery, QStringLiteral("delivery"), QT_TRANSLATE_NOOP("PageCatalog", "Delivery slips"),
         HistoryKind::Delivery, TH_STOCK_HISTORY_DELIVERY, TH_CREDIT_HISTORY_DELIVERY},
        {PageType::Capital, QStringLiteral("capital"), QT_TRANSLATE_NOOP("PageCatalog", "Capital"),
         HistoryKind::Capital, TH_STOCK_HISTORY_CAPITAL, TH_CREDIT_HISTORY_CAPITAL},
        {PageType::FundDetail, QStringLiteral("fundflows"), QT_TRANSLATE_NOOP("PageCatalog", "Fund flows"),
         HistoryKind::FundDetail, TH_STOCK_HISTORY_FUNDDETAIL, TH_CREDIT_HISTORY_FUNDDETAIL},
        {PageType::Position, QStringLiteral("positions"), QT_TRANSLATE_NOOP("PageCatalog", "Positions"),
         HistoryKind::Position, TH_STOCK_HISTORY_POSITION, TH_CREDIT_HISTORY_POSITION},
        {PageType::Profit, QStringLiteral("profit"), QT_TRANSLATE_NOOP("PageCatalog", "Profit and loss"),
         HistoryKind::Profit, TH_STOCK_HISTORY_PROFIT, TH_CREDIT_HISTORY_PROFIT},
    };
    return catalog;
}

QList<ColumnSetEntry> columnSets()
{
    QList<ColumnSetEntry> sets;
    for (const PageKind& kind : pages()) {
        for (AccountKind accountType : {AccountKind::Stock, AccountKind::Credit}) {
            if (kind.servesAccountType(accountType))
                sets.append({kind.columnSet(accountType), &kind, accountType});
        }
    }
    return sets;
}

const PageKind* page(PageType code)
{
    for (const PageKind& kind : pages()) {
        if (kind.code == code)
            return &kind;
    }
    return nullptr;
}

QString accountTypeLabel(AccountKind accountType)
{
    return accountType == AccountKind::Credit ? QCoreApplication::translate("PageCatalog", "credit account")
                                              : QCoreApplication::translate("PageCatalog", "stock account");
}

} // namespace PageCatalog
} // namespace VEK_SC_Space
