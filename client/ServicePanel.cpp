#include "ServicePanel.h"

#include "ClientAccounts.h"
#include "ClientOptions.h"
#include "service/ValueAddedService.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace VEK_SC_Space {

ServicePanel::ServicePanel(ClientAccounts& accounts, QWidget* parent)
    : QWidget(parent)
{
    ValueAddedService* service = accounts.service();
    auto* form = new QFormLayout(this);
    addNumber(form, QStringLiteral("latency"), tr("Answer delay (ms)"), 0, ClientOptions::MaxLatencyMs,
              service->latencyMs(), [service](int ms) { service->setLatencyMs(ms); });
    addNumber(form, QStringLiteral("batchSize"), tr("Records per batch"), 1, ClientOptions::MaxRecords,
              service->batchSize(), [service](int records) { service->setBatchSize(records); });
    addNumber(form, QStringLiteral("recordsPerKind"), tr("Records per kind"), 0, ClientOptions::MaxRecords,
              service->recordsPerKind(), [service](int records) { service->setRecordsPerKind(records); });
    addNumber(form, QStringLiteral("historyDays"), tr("Days of history"), 1, 3650, service->historyDays(),
              [service](int days) { service->setHistoryDays(days); });
    addSwitch(form, QStringLiteral("connected"), tr("Connected"), accounts.isConnected(),
              [&accounts](bool connected) { accounts.setConnected(connected); });
    addSwitch(form, QStringLiteral("loggedIn"), tr("Logged in"), accounts.isLoggedIn(),
              [&accounts](bool loggedIn) { accounts.setLoggedIn(loggedIn); });
    addSwitch(form, QStringLiteral("busy"), tr("Busy"), service->isBusy(),
              [service](bool busy) { service->setBusy(busy); });
    addFailure(form, service);
}

void ServicePanel::addNumber(QFormLayout* form, const QString& name, const QString& label, int minimum,
                             int maximum, int value, const std::function<void(int)>& apply)
{
    auto* spin = new QSpinBox(this);
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setGroupSeparatorShown(true);
    spin->setKeyboardTracking(false);
    connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, apply);
    form->addRow(label, spin);
}

void ServicePanel::addSwitch(QFormLayout* form, const QString& name, const QString& label, bool value,
                             const std::function<void(bool)>& apply)
{
    auto* box = new QCheckBox(label, this);
    box->setObjectName(name);
    box->setChecked(value);
    connect(box, &QCheckBox::toggled, this, apply);
    form->addRow(box);
}

void ServicePanel::addFailure(QFormLayout* form, ValueAddedService* service)
{
    auto* errorId = new QSpinBox(this);
    errorId->setRange(-999999, 999999);
    errorId->setValue(1001);
    errorId->setObjectName(QStringLiteral("failErrorId"));
    auto* errorText = new QLineEdit(tr("Simulated service failure"), this);
    errorText->setObjectName(QStringLiteral("failErrorText"));
    auto* fail = new QPushButton(tr("Fail the next answer"), this);
    fail->setObjectName(QStringLiteral("failNextAnswer"));
    form->addRow(tr("Error number"), errorId);
    form->addRow(tr("Error text"), errorText);
    form->addRow(fail);
    connect(fail, &QPushButton::clicked, this, [service, errorId, errorText] {
        service->failNextAnswer(errorId->value(), errorText->text());
    });
}

} // namespace VEK_SC_Space
