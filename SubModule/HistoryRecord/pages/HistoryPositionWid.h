#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// The securities held, day by day.
class HistoryPositionWid : public HistoryPage<HistoryPositionTraits>
{
    Q_OBJECT

public:
    HistoryPositionWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryPositionWid() override;
};

} // namespace VEK_SC_Space
