#pragma once

#include "CachePrefetch.h"
#include "ClientConstants.h"
#include "HistoryRecordWid.h"
#include "TableHeader.h"
#include "UserData.h"
#include "myHistoryModel.h"

#include <QList>
#include <QString>
#include <QVector>

#include <any>
#include <type_traits>
#include <utility>

namespace VEK_SC_Space {

// The record handling every history page shares, bound to one query by its traits (see
// HistoryPageTraits.h). Records are allocated by UserData and freed here: each is held in
// `records` as a pointer of the exact record type of the account kind, the type the column set
// of that kind casts back to, and deleted as that type.
template <typename Traits>
class HistoryPage : public HistoryRecordWid
{
protected:
    HistoryPage(int key, int pageType, QString pageTitle, QWidget* parent)
        : HistoryRecordWid(key, pageType, std::move(pageTitle), parent)
    {
    }

    // Runs after the page class has written its log line.
    ~HistoryPage() override
    {
        // The model lets go of the rows before the records behind them are freed.
        if (model) {
            model->setDataSource(QList<std::any>());
            model->resetDataSource();
        }
        HistoryPage::clearRecords();
    }

    void createTableHeader() override
    {
        using StockColumns = typename Traits::StockColumns;
        using CreditColumns = typename Traits::CreditColumns;
        if constexpr (std::is_same_v<StockColumns, CreditColumns>)
            tableHeader = new CreditColumns;
        else if (accountType == int(AccountKind::Stock))
            tableHeader = new StockColumns;
        else if (accountType == int(AccountKind::Credit))
            tableHeader = new CreditColumns;
        if (tableHeader)
            tableHeader->initUserColumn();
    }

    void connectResponseSignal() override
    {
        connect(userData, Traits::finishedSignal(), this, &HistoryPage::slot_InquiryHistoryFinished);
    }

    int collectNewRecords() override
    {
        return withRecordType([this](auto type) {
            using Record = typename decltype(type)::Type;
            const QVector<void*>& list = Traits::resultList(userData);
            int added = 0;
            for (int i = records.size() + skippedRecords; i < list.size(); ++i, ++added)
                records.append(std::any(static_cast<Record*>(list.at(i))));
            return added;
        });
    }

    void clearRecords() override
    {
        // Without its account (deleted by the host) the records went with the account's lists.
        if (userData) {
            withRecordType([this](auto type) {
                using Record = typename decltype(type)::Type;
                QVector<void*>& list = Traits::resultList(userData);
                for (void*& record : list) {
                    delete static_cast<Record*>(record);
                    record = nullptr;
                }
                list.clear();
                return 0;
            });
        }
        records.clear();
        skippedRecords = 0;
    }

    void prefetchRecord(int index) const override
    {
        withRecordType([this, index](auto type) {
            using Record = typename decltype(type)::Type;
            if (Record* const* record = std::any_cast<Record*>(&records.at(index)))
                prefetch(*record, sizeof(Record));
            return 0;
        });
    }

    int sendHistoryRequest(QString investorId, QString beginDate, QString endDate, char sortType,
                           int batch, int& id) override
    {
        return Traits::request(userData, investorId, beginDate, endDate, sortType, batch, id);
    }

private:
    template <typename Record>
    struct RecordType
    {
        using Type = Record;
    };

    // Calls handle(RecordType<R>()) with the record type of the account kind; 0 when the page
    // has no records for this kind of account.
    template <typename Handle>
    int withRecordType(Handle handle) const
    {
        if (accountType == int(AccountKind::Stock))
            return withRecord<typename Traits::StockRecord>(handle);
        if (accountType == int(AccountKind::Credit))
            return withRecord<typename Traits::CreditRecord>(handle);
        return 0;
    }

    template <typename Record, typename Handle>
    static int withRecord(Handle& handle)
    {
        if constexpr (std::is_void_v<Record>)
            return 0;
        else
            return handle(RecordType<Record>());
    }
};

} // namespace VEK_SC_Space
