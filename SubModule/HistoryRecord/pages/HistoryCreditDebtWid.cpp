#include "HistoryCreditDebtWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryCreditDebtWid::HistoryCreditDebtWid(int accountKey, int pageType, QWidget* parent)
    : HistoryPage(accountKey, pageType, tr("历史两融负债"), parent)
{
}

HistoryCreditDebtWid::~HistoryCreditDebtWid()
{
    QMessageLogger().debug("~HistoryCreditDebtWid()");
}

} // namespace VEK_SC_Space
