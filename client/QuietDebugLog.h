#pragma once

#include <QtGlobal>

namespace VEK_SC_Space {

// Drops debug lines for its lifetime (nested ones included), and the offscreen platform's
// notice about size hints; other warnings and worse still get through. The pages write a line
// when they go away and during Load all, which is no news to someone watching the demo.
class QuietDebugLog
{
public:
    QuietDebugLog();
    ~QuietDebugLog();

    QuietDebugLog(const QuietDebugLog&) = delete;
    QuietDebugLog& operator=(const QuietDebugLog&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
};

} // namespace VEK_SC_Space
