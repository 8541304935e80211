#pragma once

#include "VE_Base_global.h"

#include <QMap>

namespace VEK_SC_Space {

class UserData;

// The client's accounts by key. The map does not own its accounts.
class VE_BASE_EXPORT UserDataManager
{
public:
    static UserDataManager* instance();

    QMap<int, UserData*>& userDataMap();
    UserData* userData(int accountKey) const; // null when no account has the key

private:
    UserDataManager() = default;
    QMap<int, UserData*> accounts;
};

} // namespace VEK_SC_Space
