#include "HistoryRecordFactory.h"

#include "ClientConstants.h"
#include "HistoryCapitalWid.h"
#include "HistoryCreditDebtWid.h"
#include "HistoryDeliveryWid.h"
#include "HistoryFundDetailWid.h"
#include "HistoryOrderWid.h"
#include "HistoryPositionWid.h"
#include "HistoryProfitWid.h"
#include "HistoryTradeWid.h"
#include "UserData.h"
#include "UserDataManager.h"

#include <QPair>
#include <QSet>

using namespace VEK_SC_Space;

namespace {

using CreatePage = HistoryRecordWid* (*)(int accountKey, int pageType, QWidget* parent);

template <typename Page>
HistoryRecordWid* createPage(int accountKey, int pageType, QWidget* parent)
{
    return new Page(accountKey, pageType, parent);
}

struct PageEntry
{
    PageType code;
    CreatePage create;
    bool needsStockOrCredit;    // the page has no column set for other account kinds
};

const PageEntry PageEntries[] = {
    {PageType::Order, &createPage<HistoryOrderWid>, true},
    {PageType::Trade, &createPage<HistoryTradeWid>, true},
    {PageType::CreditDebt, &createPage<HistoryCreditDebtWid>, false},
    {PageType::Delivery, &createPage<HistoryDeliveryWid>, true},
    {PageType::Capital, &createPage<HistoryCapitalWid>, true},
    {PageType::FundDetail, &createPage<HistoryFundDetailWid>, true},
    {PageType::Position, &createPage<HistoryPositionWid>, true},
    {PageType::Profit, &createPage<HistoryProfitWid>, true},
};

const PageEntry* findPageType(int code)
{
    for (const PageEntry& type : PageEntries) {
        if (int(type.code) == code)
            return &type;
    }
    return nullptr;
}

// Pages alive by account key and page type. Two pages of one type on one account would share
// one result list, and the clear of one would free the records the other still shows.
QSet<QPair<int, int>>& livePages()
{
    static QSet<QPair<int, int>> pages;
    return pages;
}

} // namespace

extern "C" ISubModuleWid* CreateISubModuleWid_HistoryRecordWid(int accountKey, int pageType, QWidget* parent)
{
    const PageEntry* type = findPageType(pageType);
    if (!type) {
        qDebug("CreateISubModuleWid_HistoryRecordWid: no page of type %d", pageType);
        return nullptr;
    }
    const UserData* account = UserDataManager::instance()->userDataMap().value(accountKey, nullptr);
    if (!account) {
        qDebug("CreateISubModuleWid_HistoryRecordWid: no account under key %d", accountKey);
        return nullptr;
    }
    if (type->needsStockOrCredit && account->accountType != int(AccountKind::Stock)
        && account->accountType != int(AccountKind::Credit)) {
        qDebug("CreateISubModuleWid_HistoryRecordWid: page type %d cannot show account %d of type %d",
               pageType, accountKey, account->accountType);
        return nullptr;
    }
    const QPair<int, int> key(accountKey, pageType);
    if (livePages().contains(key)) {
        qDebug("CreateISubModuleWid_HistoryRecordWid: a page of type %d is open on account %d already",
               pageType, accountKey);
        return nullptr;
    }

    HistoryRecordWid* page = type->create(accountKey, pageType, parent);
    livePages().insert(key);
    QObject::connect(page, &QObject::destroyed, [key] { livePages().remove(key); });
    return page;
}
