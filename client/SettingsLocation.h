#pragma once

#include <QString>

namespace VEK_SC_Space {

// Where QSettings() keeps the user's settings (the column choices among them). The demo and
// the column probe point it at a folder of their own, so they never see or change the
// user's choices.
namespace SettingsLocation {

QString userDefault(); // the platform's user configuration folder
void use(const QString& folder);
QString current();

} // namespace SettingsLocation

// Points QSettings() at `folder` for its lifetime.
class ScopedSettingsLocation
{
public:
    explicit ScopedSettingsLocation(const QString& folder);
    ~ScopedSettingsLocation();

    ScopedSettingsLocation(const ScopedSettingsLocation&) = delete;
    ScopedSettingsLocation& operator=(const ScopedSettingsLocation&) = delete;

private:
    QString previous;
};

} // namespace VEK_SC_Space
