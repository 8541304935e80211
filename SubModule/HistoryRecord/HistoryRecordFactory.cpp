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

#include <QHash>
#include <QPair>
#include <QPointer>

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
    bool needsStockOrCredit; // the page has no column set for other account kinds
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

// Pages of one type on one account share the account's result list, and the clear of one would
// free the records the other shows. So the list has one owner, the newest page of the type on
// the account object (one account may be registered under two keys): a new page takes it over
// and the older one lets go of its rows, says so and never touches the list again. A page that
// the host is still deleting (deleteLater) therefore never stands in the way of its successor.
struct ListOwner
{
    QPointer<UserData> account; // null once the account is gone: the entry is stale
    QPointer<HistoryRecordWid> page;
};

QHash<QPair<const UserData*, int>, ListOwner>& listOwners()
{
    static QHash<QPair<const UserData*, int>, ListOwner> owners;
    return owners;
}

} // namespace

extern "C" ISubModuleWid* CreateISubModuleWid_HistoryRecordWid(int accountKey, int pageType, QWidget* parent)
{
    const PageEntry* type = findPageType(pageType);
    if (!type) {
        qDebug("CreateISubModuleWid_HistoryRecordWid: no page of type %d", pageType);
        return nullptr;
    }
    UserData* account = UserDataManager::instance()->userDataMap().value(accountKey, nullptr);
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
    ListOwner& owner = listOwners()[qMakePair(static_cast<const UserData*>(account), pageType)];
    if (owner.account == account && owner.page)
        owner.page->yieldResultList();
    HistoryRecordWid* page = type->create(accountKey, pageType, parent);
    owner = ListOwner{account, page};
    return page;
}
