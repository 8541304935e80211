#pragma once

#include <QtTest>

// True once the event loop has delivered every event posted to this thread before the call,
// queued signals and calls included: one posted now is delivered after them. A test that shows
// something does not happen waits for this, not for the clock.
inline bool postedEventsDelivered(int timeoutMs = 20000)
{
    QObject marker;
    bool delivered = false;
    QMetaObject::invokeMethod(
        &marker, [&delivered] { delivered = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([&delivered] { return delivered; }, timeoutMs);
}
