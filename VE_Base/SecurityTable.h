#pragma once

#include "VE_Base_global.h"

#include <QByteArray>

namespace VEK_SC_Space {

enum class SecurityCategory {
    Stock,
    Fund,
    Bond,
    Repo, // treasury reverse repo; the price is a rate in percent
};

struct SecurityInfo
{
    const char* code;
    char exchange; // '1' SH, '2' SZ, '4' BJ
    SecurityCategory category;
    const char* name; // UTF-8
};

// The securities the client knows by code and exchange: A-shares, funds, bonds and repos of
// the Shanghai, Shenzhen and Beijing exchanges.
class VE_BASE_EXPORT SecurityTable
{
public:
    static const SecurityInfo* find(const QByteArray& code, char exchange); // null: unknown
    static int size();
    static const SecurityInfo& at(int index);
};

} // namespace VEK_SC_Space
