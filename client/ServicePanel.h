#pragma once

#include <QWidget>

#include <functional>

class QFormLayout;

namespace VEK_SC_Space {

class ClientAccounts;
class ValueAddedService;

// Controls of the simulated value-added service: answer delay, batch size, data size,
// connection, login, a busy service and a failing answer. Changes apply to the next request.
class ServicePanel : public QWidget
{
    Q_OBJECT

public:
    explicit ServicePanel(ClientAccounts& accounts, QWidget* parent = nullptr);

private:
    void addNumber(QFormLayout* form, const QString& name, const QString& label, int minimum, int maximum,
                   int value, const std::function<void(int)>& apply);
    void addSwitch(QFormLayout* form, const QString& name, const QString& label, bool value,
                   const std::function<void(bool)>& apply);
    void addFailure(QFormLayout* form, ValueAddedService* service);
};

} // namespace VEK_SC_Space
