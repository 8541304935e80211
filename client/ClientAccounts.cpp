#include "ClientAccounts.h"

#include "UserData.h"
#include "UserDataManager.h"
#include "service/ValueAddedService.h"

#include <QCoreApplication>

namespace VEK_SC_Space {

namespace {

struct AccountSeed
{
    int key;
    AccountKind accountType;
    const char* investorId;
    const char* name;
};

const AccountSeed servedAccounts[] = {
    {1001, AccountKind::Stock, "1001000001", "stock"},
    {1002, AccountKind::Credit, "2002000002", "credit"},
};

const AccountSeed probeSeeds[] = {
    {9001, AccountKind::Stock, "9001000001", "probe-stock"},
    {9002, AccountKind::Credit, "9002000002", "probe-credit"},
};

ClientAccount makeAccount(const AccountSeed& seed, ValueAddedService* service, QObject* parent)
{
    auto* userData = new UserData(int(seed.accountType), parent);
    userData->setDefaultInvestorID(QString::fromLatin1(seed.investorId));
    userData->setService(service);
    userData->zrvaConnected = true;
    userData->zrvaLoggedIn = true;
    UserDataManager::instance()->userDataMap().insert(seed.key, userData);
    return {seed.key, seed.accountType, userData->getDefaultInvestorID(), QString::fromLatin1(seed.name), userData};
}

const ClientAccount* byType(const QList<ClientAccount>& list, AccountKind accountType)
{
    for (const ClientAccount& account : list) {
        if (account.accountType == accountType)
            return &account;
    }
    return nullptr;
}

} // namespace

QString ClientAccount::displayLabel() const
{
    return accountType == AccountKind::Credit
        ? QCoreApplication::translate("ClientAccounts", "Credit account %1").arg(investorId)
        : QCoreApplication::translate("ClientAccounts", "Stock account %1").arg(investorId);
}

ClientAccounts::ClientAccounts(QObject* parent)
    : QObject(parent)
    , valueAddedService(std::make_unique<ValueAddedService>())
{
    for (const AccountSeed& seed : servedAccounts)
        clientAccounts.append(makeAccount(seed, valueAddedService.get(), this));
    for (const AccountSeed& seed : probeSeeds)
        probeAccounts.append(makeAccount(seed, nullptr, this));
}

ClientAccounts::~ClientAccounts()
{
    // The worker stops first, so no answer is on its way to an account that is going away.
    valueAddedService.reset();
    for (const QList<ClientAccount>* list : {&clientAccounts, &probeAccounts}) {
        for (const ClientAccount& account : *list) {
            UserDataManager::instance()->userDataMap().remove(account.key);
            delete account.userData;
        }
    }
}

const QList<ClientAccount>& ClientAccounts::accounts() const
{
    return clientAccounts;
}

const ClientAccount* ClientAccounts::account(AccountKind accountType) const
{
    return byType(clientAccounts, accountType);
}

int ClientAccounts::probeKey(AccountKind accountType) const
{
    const ClientAccount* probe = byType(probeAccounts, accountType);
    return probe ? probe->key : -1;
}

ValueAddedService* ClientAccounts::service() const
{
    return valueAddedService.get();
}

// The service drops or restores its side; the flags are what a page checks before it sends.
void ClientAccounts::setConnected(bool connected)
{
    valueAddedService->setConnected(connected);
    for (const ClientAccount& account : qAsConst(clientAccounts))
        account.userData->zrvaConnected = connected;
}

bool ClientAccounts::isConnected() const
{
    return clientAccounts.constFirst().userData->zrvaConnected;
}

void ClientAccounts::setLoggedIn(bool loggedIn)
{
    valueAddedService->setLoggedIn(loggedIn);
    for (const ClientAccount& account : qAsConst(clientAccounts))
        account.userData->zrvaLoggedIn = loggedIn;
}

bool ClientAccounts::isLoggedIn() const
{
    return clientAccounts.constFirst().userData->zrvaLoggedIn;
}

} // namespace VEK_SC_Space
