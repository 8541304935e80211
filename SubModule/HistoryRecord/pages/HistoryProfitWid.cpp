#include "HistoryProfitWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryProfitWid::HistoryProfitWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史盈亏"), parent)
{
}

HistoryProfitWid::~HistoryProfitWid()
{
    QMessageLogger().debug("~HistoryProfitWid()");
}

} // namespace VEK_SC_Space
