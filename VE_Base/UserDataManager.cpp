#include "UserDataManager.h"

namespace VEK_SC_Space {

UserDataManager* UserDataManager::instance()
{
    static UserDataManager manager;
    return &manager;
}

QMap<int, UserData*>& UserDataManager::userDataMap()
{
    return accounts;
}

UserData* UserDataManager::userData(int accountKey) const
{
    return accounts.value(accountKey, nullptr);
}

} // namespace VEK_SC_Space
