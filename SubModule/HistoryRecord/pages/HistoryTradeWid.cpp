#include "HistoryTradeWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryTradeWid::HistoryTradeWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史成交"), parent)
{
}

HistoryTradeWid::~HistoryTradeWid()
{
    QMessageLogger().debug("~HistoryTradeWid()");
}

} // namespace VEK_SC_Space
