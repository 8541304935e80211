#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// Past orders of a stock or a credit account.
class HistoryOrderWid : public HistoryPage<HistoryOrderTraits>
{
    Q_OBJECT

public:
    HistoryOrderWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryOrderWid() override;
};

} // namespace VEK_SC_Space
