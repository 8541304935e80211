#include "HistoryFundDetailWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryFundDetailWid::HistoryFundDetailWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史资金流水"), parent)
{
}

HistoryFundDetailWid::~HistoryFundDetailWid()
{
    QMessageLogger().debug("~HistoryFundDetailWid()");
}

} // namespace VEK_SC_Space
