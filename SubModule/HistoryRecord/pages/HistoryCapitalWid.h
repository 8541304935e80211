#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// The account's capital, day by day.
class HistoryCapitalWid : public HistoryPage<HistoryCapitalTraits>
{
    Q_OBJECT

public:
    HistoryCapitalWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryCapitalWid() override;
};

} // namespace VEK_SC_Space
