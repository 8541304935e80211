#pragma once

// What tests of the module's real pages share: accounts, a page's inner state, the debug log,
// a script for the modals a page opens and (with HISTORY_PLUGIN_FILE) the plug-in's factory.

#include "HistoryRecordWid.h"
#include "HistorySortProxyModel.h"
#include "TableHeader.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"
#include "service/RecordTypes.h"
#include "service/ValueAddedService.h"

#include <QTextCodec>
#include <QtWidgets>

#include <any>
#include <functional>

namespace PageTest {

using namespace VEK_SC_Space;

// The page's own state, read through pointers to members: valid on pages from the plug-in too.
struct PageAccess : HistoryRecordWid
{
    using HistoryRecordWid::clearRecords;
    using HistoryRecordWid::collectNewRecords;
    using HistoryRecordWid::isTotalLast;
    using HistoryRecordWid::model;
    using HistoryRecordWid::proxyModel;
    using HistoryRecordWid::records;
    using HistoryRecordWid::requestId;
    using HistoryRecordWid::tableHeader;
    using HistoryRecordWid::title;
};

inline HistoryRecordWid* asPage(QWidget* page) { return static_cast<HistoryRecordWid*>(page); }
inline QList<std::any>& recordsOf(QWidget* page) { return asPage(page)->*(&PageAccess::records); }
inline TableHeader* columnSetOf(QWidget* page) { return asPage(page)->*(&PageAccess::tableHeader); }
inline myHistoryModel* modelOf(QWidget* page) { return asPage(page)->*(&PageAccess::model); }
inline HistorySortProxyModel* proxyOf(QWidget* page) { return asPage(page)->*(&PageAccess::proxyModel); }
inline QString titleOf(QWidget* page) { return asPage(page)->*(&PageAccess::title); }
inline bool isTotalLastOf(QWidget* page) { return asPage(page)->*(&PageAccess::isTotalLast); }
inline int requestIdOf(QWidget* page) { return asPage(page)->*(&PageAccess::requestId); }
inline int collectNewRecords(QWidget* page) { return (asPage(page)->*(&PageAccess::collectNewRecords))(); }
inline void clearRecords(QWidget* page) { (asPage(page)->*(&PageAccess::clearRecords))(); }

// A part of the form by the last word of its name ("tips", "loadall"); without, the table.
template <typename Widget>
Widget* partOf(QWidget* page, const char* name = "")
{
    return page->findChildren<Widget*>(QRegularExpression(QStringLiteral("historyordertradewid_?%1$").arg(name))).value(0);
}
inline QString tipsOf(QWidget* page) { return partOf<QLabel>(page, "tips")->text(); }
// A button's slot: the Query button itself stays locked for a second after each click.
inline void press(QWidget* page, const char* button)
{
    QMetaObject::invokeMethod(page, QByteArray("on_pushButton_historyordertradewid_") + button + "_clicked");
}
inline void query(QWidget* page) { press(page, "request"); }

// The record pointers a page holds as the kind's exact type on this account; null for another type.
inline QVector<void*> heldPointers(const QList<std::any>& held, HistoryKind kind, int accountType)
{
    QVector<void*> pointers;
    for (const std::any& element : held) {
        pointers.append(withRecordType(kind, accountType, [&element](auto type) -> void* {
            auto* const* pointer = std::any_cast<typename decltype(type)::type*>(&element);
            return pointer ? *pointer : nullptr;
        }));
    }
    return pointers;
}

#ifdef HISTORY_PLUGIN_FILE
using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

// The plug-in loaded with QLibrary and its factory resolved by name, as the client does; never
// unloaded, since Qt keeps references into it.
inline Factory pluginFactory()
{
    static QLibrary library(QStringLiteral(HISTORY_PLUGIN_FILE));
    if (!library.load())
        qWarning("%s", qPrintable(library.errorString()));
    return reinterpret_cast<Factory>(library.resolve("CreateISubModuleWid_HistoryRecordWid"));
}
#endif

// What an export of this model must write: header and display texts, a comma after each, in
// the given encoding (Qt 6's QTextStream would write UTF-8 whatever the locale). A text with a
// comma, a double quote or a line break goes in double quotes, its quotes doubled.
inline QByteArray expectedCsv(const QAbstractItemModel* model, QTextCodec* codec = QTextCodec::codecForLocale())
{
    QString text;
    for (int row = -1; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            QString value = (row < 0 ? model->headerData(column, Qt::Horizontal) : model->index(row, column).data()).toString();
            if (value.contains(QRegularExpression(QStringLiteral("[,\"\r\n]"))))
                value = u'"' + value.replace(u'"', QStringLiteral("\"\"")) + u'"';
            text += value + u',';
        }
        text += u'\n';
    }
    return codec->fromUnicode(text);
}

// An account registered while it lives, connected and logged in. With records 0 requests are
// accepted and the test answers them; else a service holds that many of each kind of thirty days
// up to 2024-03-15. The account frees the records left in its lists.
class Account
{
public:
    Account(int accountKey, int accountType, int records = 0, int batchSize = 500, int latencyMs = 0)
        : key(accountKey)
        , userData(accountType)
    {
        userData.zrvaConnected = true;
        userData.zrvaLoggedIn = true;
        userData.setDefaultInvestorID(QStringLiteral("880012345"));
        UserDataManager::instance()->userDataMap().insert(key, &userData);
        service.setReferenceDate(QDate(2024, 3, 15));
        service.setRecordsPerKind(records);
        service.setBatchSize(batchSize);
        service.setLatencyMs(latencyMs);
        if (records)
            userData.setService(&service);
    }
    ~Account() { UserDataManager::instance()->userDataMap().remove(key), userData.setService(nullptr); }

    // Appends `count` new records of the list's type and answers the latest request with them.
    QVector<void*> answer(HistoryKind kind, int count, bool isTotalLast)
    {
        QVector<void*> batch;
        for (int i = 0; i < count; ++i)
            batch.append(newRecord(kind, userData.accountType));
        userData.deliverAnswer(kind, userData.lastRequestId(), batch, 0, QString(), isTotalLast);
        return batch;
    }
    // A zeroed record of the exact type of the kind's list on an account of this type.
    static void* newRecord(HistoryKind kind, int accountType)
    {
        return withRecordType(kind, accountType, [](auto type) -> void* { return new typename decltype(type)::type{}; });
    }
    bool busy() const { return userData.getIsZRVAReqing(); }

    const int key;
    ValueAddedService service;
    UserData userData;
};

// Collects the debug lines written while it lives; other messages go on to the handler before.
class DebugLines
{
public:
    DebugLines()
        : saved(qInstallMessageHandler(&DebugLines::handle))
    {
        QMutexLocker lock(&mutex());
        collected().clear();
        if (saved != &DebugLines::handle)
            previous() = saved;
    }
    ~DebugLines() { qInstallMessageHandler(saved); }
    QStringList lines() const { return QMutexLocker(&mutex()), collected(); }
    QStringList containing(const QString& part) const { return lines().filter(part); }

private:
    static QStringList& collected()
    {
        static QStringList lines;
        return lines;
    }
    static QtMessageHandler& previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static QMutex& mutex()
    {
        static QMutex lock;
        return lock;
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type != QtDebugMsg)
            return previous() ? previous()(type, context, message) : void();
        QMutexLocker lock(&mutex());
        collected().append(message);
    }
    const QtMessageHandler saved;
};

// What a modal window showed when the script met it.
struct SeenModal
{
    bool isFileDialog = false;
    QString title, text; // text: a message box's
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // message box button texts, '&' removed
    QWidget* parent = nullptr;
    Qt::WindowFlags flags;
    bool modal = false;
    QString directory, fileName; // a file dialog's folder and proposed file name
    QStringList nameFilters;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    bool directoryExisted = false; // the folder existed when the dialog showed
};

// Answers the modals that open while it lives, one step each, in order, from the modal's own
// event loop. One without a step or still open after three seconds is closed: a test fails
// instead of hanging.
class ModalScript : public QObject
{
public:
    ModalScript()
    {
        QObject::connect(&timer, &QTimer::timeout, this, &ModalScript::poll);
        timer.start(10);
        clock.start();
    }

    ModalScript& pressButton(const QString& text)
    {
        return step([text](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            for (QAbstractButton* button : box ? box->buttons() : QList<QAbstractButton*>()) {
                if (button->text().remove(QLatin1Char('&')) == text)
                    return QTimer::singleShot(0, button, &QAbstractButton::click), true;
            }
            return false;
        });
    }
    ModalScript& closeBox()
    {
        return step([](QWidget* modal) {
            return qobject_cast<QMessageBox*>(modal) && (QTimer::singleShot(0, modal, &QWidget::close), true);
        });
    }
    ModalScript& saveAs(const QString& path)
    {
        return step([path](QWidget* modal) {
            QLineEdit* edit = qobject_cast<QFileDialog*>(modal) ? modal->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            return edit && (edit->setText(path), QTimer::singleShot(0, modal, SLOT(accept())), true);
        });
    }
    ModalScript& cancelDialog()
    {
        return step([](QWidget* modal) {
            return qobject_cast<QFileDialog*>(modal) && (QTimer::singleShot(0, modal, SLOT(reject())), true);
        });
    }

    // Any other answer: true when `action` dealt with the modal.
    ModalScript& step(std::function<bool(QWidget*)> action)
    {
        steps.append(std::move(action));
        return *this;
    }

    QList<SeenModal> seen;
    int unanswered = 0; // modals closed because no step fitted them
    bool done() const { return next == steps.size(); }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answered.contains(modal)) // a dialog may show again while it closes
            return;
        if (next < steps.size()) {
            note(modal);
            if (steps.at(next)(modal)) {
                ++next;
                answered.append(modal);
                clock.restart();
                return;
            }
        }
        if (clock.elapsed() > 3000 || next >= steps.size()) {
            ++unanswered;
            answered.append(modal);
            QTimer::singleShot(0, modal, &QWidget::close);
            if (qobject_cast<QDialog*>(modal))
                QTimer::singleShot(0, modal, SLOT(reject()));
        }
    }
    void note(QWidget* modal)
    {
        if (!seen.isEmpty() && seenWidget == modal)
            return;
        seenWidget = modal;
        SeenModal s;
        s.title = modal->windowTitle();
        s.parent = modal->parentWidget();
        s.flags = modal->windowFlags();
        s.modal = modal->isModal() || modal->windowModality() != Qt::NonModal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            s.text = box->text();
            s.icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                s.buttons.append(button->text().remove(QLatin1Char('&')));
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            s.isFileDialog = true;
            s.directory = dialog->directory().absolutePath();
            s.directoryExisted = dialog->directory().exists();
            s.fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            s.nameFilters = dialog->nameFilters();
            s.acceptMode = dialog->acceptMode();
        }
        seen.append(s);
    }

    QTimer timer;
    QElapsedTimer clock;
    QList<std::function<bool(QWidget*)>> steps;
    int next = 0;
    QList<QPointer<QWidget>> answered;
    QPointer<QWidget> seenWidget;
};

} // namespace PageTest
