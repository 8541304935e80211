#include "HistoryPositionWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryPositionWid::HistoryPositionWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史持仓"), parent)
{
}

HistoryPositionWid::~HistoryPositionWid()
{
    QMessageLogger().debug("~HistoryPositionWid()");
}

} // namespace VEK_SC_Space
