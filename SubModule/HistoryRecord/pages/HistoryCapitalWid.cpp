#include "HistoryCapitalWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryCapitalWid::HistoryCapitalWid(int key, int pageType, QWidget* parent)
    : HistoryPage(key, pageType, tr("历史资金"), parent)
{
}

HistoryCapitalWid::~HistoryCapitalWid()
{
    QMessageLogger().debug("~HistoryCapitalWid()");
}

} // namespace VEK_SC_Space
