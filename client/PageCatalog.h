#pragma once

#include "ClientConstants.h"
#include "UserData.h"

#include <QList>
#include <QString>

namespace VEK_SC_Space {

// One kind of history page the module offers.
struct PageKind
{
    PageType code;          // the factory's page type
    QString name;           // short name for file names and demo lines, e.g. "orders"
    const char* label;      // menu text, translated in the context "PageCatalog"
    HistoryKind kind;       // the result list the page fills
    QString stockColumnSet; // empty: no page for a stock account
    QString creditColumnSet;

    QString columnSet(AccountKind accountType) const;
    bool servesAccountType(AccountKind accountType) const { return !columnSet(accountType).isEmpty(); }
    QString displayLabel() const;
};

// One column set: the page and account kind that show it.
struct ColumnSetEntry
{
    QString key;
    const PageKind* page;
    AccountKind accountType;

    QString displayLabel() const;
};

namespace PageCatalog {

const QList<PageKind>& pages();      // in menu order
QList<ColumnSetEntry> columnSets();  // the fifteen sets, in menu order
const PageKind* page(PageType code); // null for an unknown code
QString accountTypeLabel(AccountKind accountType);

} // namespace PageCatalog
} // namespace VEK_SC_Space
