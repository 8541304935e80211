#include "HistoryProfitWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryProfitWid::HistoryProfitWid(int accountKey, int pageType, QWidget* parent)
    : HistoryPage(accountKey, pageType, tr("历史盈亏"), parent)
{
}

HistoryProfitWid::~HistoryProfitWid()
{
    QMessageLogger().debug("~HistoryProfitWid()");
}

} // namespace VEK_SC_Space
