#include "QuietDebugLog.h"

#include <QString>

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
    // Said for every message box; the offscreen platform has no window manager to hint.
    if (message.endsWith(QLatin1String("does not support propagateSizeHints()")))
        return;
    if (type != QtDebugMsg && outerHandler)
        outerHandler(type, context, message);
}

} // namespace VEK_SC_Space
