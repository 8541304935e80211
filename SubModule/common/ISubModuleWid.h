#pragma once

#include <QWidget>

namespace VEK_SC_Space {

// What the client sees of every sub-module page. The order of the virtual operations is part
// of the binary contract with the client.
class ISubModuleWid : public QWidget
{
    Q_OBJECT

public:
    explicit ISubModuleWid(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags())
        : QWidget(parent, flags) {}
    ~ISubModuleWid() override = default;

    virtual void initSubModule() = 0;
    virtual void subModuleHook() = 0;
    virtual bool hostFlag1() { return false; }
    virtual bool hostFlag2() { return false; }
    virtual bool hostFlag3() { return true; }
    virtual bool hostFlag4() { return false; }
    virtual void setZoomPercent(int percent) { Q_UNUSED(percent) }

    int zoomPercent = 100;
};

} // namespace VEK_SC_Space
