#include "HistoryCapitalWid.h"

#include <QMessageLogger>

namespace VEK_SC_Space {

HistoryCapitalWid::HistoryCapitalWid(int accountKey, int pageType, QWidget* parent)
    : HistoryPage(accountKey, pageType, tr("历史资金"), parent)
{
}

HistoryCapitalWid::~HistoryCapitalWid()
{
    QMessageLogger().debug("~HistoryCapitalWid()");
}

} // namespace VEK_SC_Space
