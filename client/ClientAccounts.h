#pragma once

#include "ClientConstants.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace VEK_SC_Space {

class UserData;
class ValueAddedService;

struct ClientAccount
{
    int key;
    AccountKind accountType;
    QString investorId;
    QString name; // "stock" or "credit", for file names and demo lines
    UserData* userData;

    QString displayLabel() const;
};

// The client's accounts on the simulated value-added service, registered with
// UserDataManager for as long as this object lives. Also holds one unserved account per
// account kind, on which the column probe opens its throw-away pages.
class ClientAccounts : public QObject
{
    Q_OBJECT

public:
    explicit ClientAccounts(QObject* parent = nullptr);
    ~ClientAccounts() override;

    const QList<ClientAccount>& accounts() const;
    const ClientAccount* account(AccountKind accountType) const;
    int probeKey(AccountKind accountType) const;
    ValueAddedService* service() const;

    void setConnected(bool connected);
    bool isConnected() const;
    void setLoggedIn(bool loggedIn);
    bool isLoggedIn() const;

private:
    std::unique_ptr<ValueAddedService> valueAddedService;
    QList<ClientAccount> clientAccounts;
    QList<ClientAccount> probeAccounts;
};

} // namespace VEK_SC_Space
