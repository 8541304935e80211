#pragma once

#include <QString>

// Keys shared by every unit of the client.
namespace VEK_SC_Space {

inline const QString SUBMODULE_HISTORYRECORD = QStringLiteral("SubModule_HistoryRecord");

// The history pages, as the client asks the module's factory for them (its int pageType).
enum class PageType {
    Order = 22,
    Trade = 23,
    CreditDebt = 51,
    Delivery = 52,
    Capital = 53,
    FundDetail = 54,
    Position = 55,
    Profit = 56,
};

inline constexpr PageType PageTypes[] = {
    PageType::Order,
    PageType::Trade,
    PageType::CreditDebt,
    PageType::Delivery,
    PageType::Capital,
    PageType::FundDetail,
    PageType::Position,
    PageType::Profit,
};

// The kinds of account, as UserData::accountType holds them.
enum class AccountKind {
    Stock = 1,
    Credit = 2,
};

inline const QString TH_STOCK_HISTORY_ORDER = QStringLiteral("THStockHistoryOrder");
inline const QString TH_CREDIT_HISTORY_ORDER = QStringLiteral("THCreditHistoryOrder");
inline const QString TH_STOCK_HISTORY_TRADE = QStringLiteral("THStockHistoryTrade");
inline const QString TH_CREDIT_HISTORY_TRADE = QStringLiteral("THCreditHistoryTrade");
inline const QString TH_STOCK_HISTORY_DELIVERY = QStringLiteral("THStockHistoryDelivery");
inline const QString TH_CREDIT_HISTORY_DELIVERY = QStringLiteral("THCreditHistoryDelivery");
inline const QString TH_CREDIT_HISTORY_DEBT = QStringLiteral("THCreditHistoryDebt");
inline const QString TH_STOCK_HISTORY_CAPITAL = QStringLiteral("THStockHistoryCapital");
inline const QString TH_CREDIT_HISTORY_CAPITAL = QStringLiteral("THCreditHistoryCapital");
inline const QString TH_STOCK_HISTORY_FUNDDETAIL = QStringLiteral("THStockHistoryFundDetail");
inline const QString TH_CREDIT_HISTORY_FUNDDETAIL = QStringLiteral("THCreditHistoryFundDetail");
inline const QString TH_STOCK_HISTORY_POSITION = QStringLiteral("THStockHistoryPosition");
inline const QString TH_CREDIT_HISTORY_POSITION = QStringLiteral("THCreditHistoryPosition");
inline const QString TH_STOCK_HISTORY_PROFIT = QStringLiteral("THStockHistoryProfit");
inline const QString TH_CREDIT_HISTORY_PROFIT = QStringLiteral("THCreditHistoryProfit");

} // namespace VEK_SC_Space
