#include "HistoryDeliveryWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryDeliveryWid::HistoryDeliveryWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史交割单"), parent)
{
}

HistoryDeliveryWid::~HistoryDeliveryWid()
{
    QMessageLogger().debug("~HistoryDeliveryWid()");
}

} // namespace VEK_SC_Space
