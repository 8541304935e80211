#include "QuietDebugLog.h"

namespace VEK_SC_Space {

namespace {
int depth = 0;
QtMessageHandler outerHandler = nullptr;
} // namespace

QuietDebugLog::QuietDebugLog()
{
    if (depth++ == 0)
        outerHandler = qInstallMessageHandler(&QuietDebugLog::handle);
}

QuietDebugLog::~QuietDebugLog()
{
    if (--depth == 0)
        qInstallMessageHandler(outerHandler);
}

void QuietDebugLog::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && outerHandler)
        outerHandler(type, context, message);
}

} // namespace VEK_SC_Space
