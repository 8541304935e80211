#pragma once

// A page over stock order records with a column set of its own, so that the page frame can be
// driven without the module's real pages and column sets.

#include "HistoryRecordWid.h"
#include "TableHeader.h"
#include "UserData.h"
#include "api/ZRVDHistoryFields.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <any>
#include <cstring>

namespace VEK_SC_Space {

using TestRecord = ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField;

// Code and volume shown, a note column registered but hidden by default.
class TestColumns : public TableHeader
{
public:
    static constexpr int CodeColumn = 0;
    static constexpr int VolumeColumn = 1;
    static constexpr int NoteColumn = 2;

    TestColumns()
        : TableHeader(QStringLiteral("TestPageColumns"), nullptr)
    {
        addColumn(CodeColumn, QStringLiteral("证券代码"), 90, Qt::AlignHCenter | Qt::AlignVCenter, true);
        addColumn(VolumeColumn, QStringLiteral("委托数量"), 120, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(NoteColumn, QStringLiteral("备注"), 60, Qt::AlignLeft | Qt::AlignVCenter, false);
    }

    QString getColumnDisplayText(int column, std::any record, UserData*) override
    {
        const QVariant value = getColumnRawValue(column, std::move(record), nullptr);
        return value.toString();
    }

    QVariant getColumnRawValue(int column, std::any record, UserData*) override
    {
        const TestRecord* row = std::any_cast<TestRecord*>(record);
        switch (column) {
        case CodeColumn:
            return QString::fromLatin1(row->SecurityID, int(strnlen(row->SecurityID, sizeof row->SecurityID)));
        case VolumeColumn:
            return row->OrderVolume;
        default:
            return QVariant();
        }
    }
};

class TestHistoryPage : public HistoryRecordWid
{
public:
    struct Request {
        QString investorId;
        QString beginDate;
        QString endDate;
        char sortType;
        int batchNo;
    };

    static inline const QString Title = QStringLiteral("测试页");

    explicit TestHistoryPage(int accountKey, QWidget* parent = nullptr)
        : HistoryRecordWid(accountKey, 0, Title, parent)
    {
    }
    ~TestHistoryPage() override { clearRecords(); }

    using HistoryRecordWid::batchNo;
    using HistoryRecordWid::isTotalLast;
    using HistoryRecordWid::loadAllRequested;
    using HistoryRecordWid::model;
    using HistoryRecordWid::proxyModel;
    using HistoryRecordWid::records;
    using HistoryRecordWid::requestId;
    using HistoryRecordWid::showColumns;
    using HistoryRecordWid::tableHeader;
    using HistoryRecordWid::title;
    using HistoryRecordWid::userData;
    using HistoryRecordWid::accountType;
    using HistoryRecordWid::accountKey;

    QList<Request> sent;            // every sendHistoryRequest call, in order
    int tableHeadersCreated = 0;
    int responseConnections = 0;
    int clears = 0;

protected:
    void createTableHeader() override
    {
        ++tableHeadersCreated;
        tableHeader = new TestColumns;
        tableHeader->initUserColumn();
    }

    void connectResponseSignal() override
    {
        ++responseConnections;
        connect(userData, &UserData::signal_ZRVA_RspInquiryHistoryOrderFinished,
                this, &TestHistoryPage::slot_InquiryHistoryFinished);
    }

    int collectNewRecords() override
    {
        const QVector<void*>& list = userData->getHistoryOrderList();
        int added = 0;
        for (int i = records.size(); i < list.size(); ++i, ++added)
            records.append(std::any(static_cast<TestRecord*>(list.at(i))));
        return added;
    }

    void clearRecords() override
    {
        ++clears;
        QVector<void*>& list = userData->getHistoryOrderList();
        for (void*& record : list) {
            delete static_cast<TestRecord*>(record);
            record = nullptr;
        }
        list.clear();
        records.clear();
    }

    int sendHistoryRequest(QString investorId, QString beginDate, QString endDate, char sortType,
                           int batchNo, int& requestId) override
    {
        sent.append({investorId, beginDate, endDate, sortType, batchNo});
        return userData->ReqQryHistoryOrderEx(investorId, beginDate, endDate, sortType, batchNo, requestId);
    }
};

} // namespace VEK_SC_Space
