#include "ColumnProbe.h"

#include "ClientAccounts.h"
#include "HistoryPlugin.h"
#include "ISubModuleWid.h"
#include "PageCatalog.h"
#include "PageWidgets.h"
#include "QuietDebugLog.h"
#include "SettingsLocation.h"
#include "TableHeader.h"

#include <QTemporaryDir>

#include <memory>

namespace VEK_SC_Space {

namespace {

// Ids run from 0 with at most a single gap; three misses in a row end the set.
constexpr int IdGapLimit = 3;
constexpr int IdLimit = 200;

} // namespace

ColumnProbe::ColumnProbe(const HistoryPlugin& loaded, const ClientAccounts& clientAccounts)
    : plugin(loaded)
    , accounts(clientAccounts)
{
}

QList<ColumnInfo> ColumnProbe::columns(const ColumnSetEntry& set)
{
    auto found = known.constFind(set.key);
    if (found != known.constEnd())
        return found.value();
    const QList<ColumnInfo> result = probe(set);
    if (!result.isEmpty())
        known.insert(set.key, result);
    return result;
}

void ColumnProbe::clear()
{
    known.clear();
}

QList<ColumnInfo> ColumnProbe::probe(const ColumnSetEntry& set)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    const ScopedSettingsLocation settings(folder.path());
    const QuietDebugLog quiet;

    const QStringList defaults = shownTitles(set, {});
    QList<ColumnInfo> byId;
    for (int id = 0, misses = 0; id < IdLimit && misses < IdGapLimit; ++id) {
        const QStringList titles = shownTitles(set, {id});
        if (titles.size() == 1 && defaults.size() != 1) {
            byId.append({id, titles.constFirst(), false});
            misses = 0;
        } else {
            ++misses;
        }
    }

    QList<ColumnInfo> ordered;
    for (const QString& title : defaults) {
        if (auto column = takeColumn(byId, [&](const ColumnInfo& c) { return c.title == title; }))
            ordered.append({column->id, column->title, true});
    }
    return ordered + byId;
}

QStringList ColumnProbe::shownTitles(const ColumnSetEntry& set, const QList<int>& choice) const
{
    TableHeader::saveColumnChoice(set.key, choice);
    const std::unique_ptr<ISubModuleWid> page(
        plugin.createPage(accounts.probeKey(set.accountType), set.page->code, nullptr));
    if (!page)
        return {};
    page->initSubModule();
    return PageWidgets(page.get()).headerTitles();
}

} // namespace VEK_SC_Space
