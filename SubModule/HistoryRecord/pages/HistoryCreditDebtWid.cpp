#include "HistoryCreditDebtWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryCreditDebtWid::HistoryCreditDebtWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史两融负债"), parent)
{
}

HistoryCreditDebtWid::~HistoryCreditDebtWid()
{
    QMessageLogger().debug("~HistoryCreditDebtWid()");
}

} // namespace VEK_SC_Space
