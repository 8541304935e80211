#include "HistoryOrderWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryOrderWid::HistoryOrderWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史委托"), parent)
{
}

HistoryOrderWid::~HistoryOrderWid()
{
    QMessageLogger().debug("~HistoryOrderWid()");
}

} // namespace VEK_SC_Space
