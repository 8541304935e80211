#pragma once

// Helpers for tests that drive the module's real pages: an account registered under a key, a
// reader of a page's inner state, the debug log, a script that answers the modal boxes and file
// dialogs a page opens, and (where the test is built with HISTORY_PLUGIN_FILE) the plug-in's
// factory resolved as the client resolves it.

#include "HistoryRecordWid.h"
#include "TableHeader.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"
#include "service/RecordTypes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLibrary>
#include <QLineEdit>
#include <QMessageBox>
#include <QMutex>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QTextStream>
#include <QTimer>

#include <any>
#include <functional>

namespace PageTest {

using namespace VEK_SC_Space;

// The page's own state, read through pointers to its members: valid on any page object, also
// on one that comes from the plug-in.
struct PageAccess : HistoryRecordWid
{
    using HistoryRecordWid::accountType;
    using HistoryRecordWid::clearRecords;
    using HistoryRecordWid::collectNewRecords;
    using HistoryRecordWid::isTotalLast;
    using HistoryRecordWid::model;
    using HistoryRecordWid::proxyModel;
    using HistoryRecordWid::records;
    using HistoryRecordWid::requestId;
    using HistoryRecordWid::sendHistoryRequest;
    using HistoryRecordWid::tableHeader;
    using HistoryRecordWid::title;
    using HistoryRecordWid::userData;
};

inline HistoryRecordWid* asPage(QWidget* page) { return static_cast<HistoryRecordWid*>(page); }
inline QList<std::any>& recordsOf(QWidget* page) { return asPage(page)->*(&PageAccess::records); }
inline TableHeader* columnSetOf(QWidget* page) { return asPage(page)->*(&PageAccess::tableHeader); }
inline myHistoryModel* modelOf(QWidget* page) { return asPage(page)->*(&PageAccess::model); }
inline QSortFilterProxyModel* proxyOf(QWidget* page) { return asPage(page)->*(&PageAccess::proxyModel); }
inline QString titleOf(QWidget* page) { return asPage(page)->*(&PageAccess::title); }
inline bool isTotalLastOf(QWidget* page) { return asPage(page)->*(&PageAccess::isTotalLast); }
inline int requestIdOf(QWidget* page) { return asPage(page)->*(&PageAccess::requestId); }
inline int collectNewRecords(QWidget* page) { return (asPage(page)->*(&PageAccess::collectNewRecords))(); }
inline void clearRecords(QWidget* page) { (asPage(page)->*(&PageAccess::clearRecords))(); }

// The record pointers a page holds, as the exact type of the kind on this account; null for an
// element of another type.
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

// The Query button's slot: the button itself stays locked for a second after each click.
inline void query(QWidget* page)
{
    QMetaObject::invokeMethod(page, "on_pushButton_historyordertradewid_request_clicked");
}

#ifdef HISTORY_PLUGIN_FILE
using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

// The plug-in loaded with QLibrary and its factory resolved by name, as the client does; null
// when either fails. The library stays loaded: Qt keeps references into it until the end.
inline Factory pluginFactory()
{
    static QLibrary library(QStringLiteral(HISTORY_PLUGIN_FILE));
    if (!library.load())
        qWarning("%s", qPrintable(library.errorString()));
    return reinterpret_cast<Factory>(library.resolve("CreateISubModuleWid_HistoryRecordWid"));
}
#endif

// What an exported file must hold: the model's header and display texts as a text stream writes
// them, a comma after every value.
inline QByteArray expectedCsv(const QAbstractItemModel* model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    QTextStream out(&buffer);
    for (int row = -1; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column)
            out << (row < 0 ? model->headerData(column, Qt::Horizontal) : model->index(row, column).data()).toString() << ',';
        out << '\n';
    }
    out.flush();
    return bytes;
}

// An account registered in UserDataManager while the object lives: connected and logged in, no
// service attached, so requests are accepted and the test answers them itself. The records left
// in its lists are freed with it.
class Account
{
public:
    Account(int key, int accountType)
        : key(key)
        , userData(accountType)
    {
        userData.zrvaConnected = true;
        userData.zrvaLoggedIn = true;
        userData.setDefaultInvestorID(QStringLiteral("880012345"));
        UserDataManager::instance()->userDataMap().insert(key, &userData);
    }
    ~Account() { UserDataManager::instance()->userDataMap().remove(key); }

    // Appends `count` new records of the list's type and answers the latest request with them.
    QVector<void*> answer(HistoryKind kind, int count, bool isTotalLast)
    {
        QVector<void*> batch;
        for (int i = 0; i < count; ++i)
            batch.append(newRecord(kind, userData.accountType));
        userData.deliverAnswer(kind, userData.lastRequestId(), batch, 0, QString(), isTotalLast);
        return batch;
    }

    // A zeroed record of the exact type a list of this kind holds on an account of this type.
    static void* newRecord(HistoryKind kind, int accountType)
    {
        return withRecordType(kind, accountType, [](auto type) -> void* { return new typename decltype(type)::type{}; });
    }

    const int key;
    UserData userData;
};

// Collects the debug lines written while it lives.
class DebugLines
{
public:
    DebugLines()
    {
        QMutexLocker lock(&mutex());
        collected().clear();
        previous() = qInstallMessageHandler(&DebugLines::handle);
    }
    ~DebugLines() { qInstallMessageHandler(previous()); }

    QStringList lines() const
    {
        QMutexLocker lock(&mutex());
        return collected();
    }
    QStringList containing(const QString& part) const { return lines().filter(part); }

private:
    static QStringList& collected() { static QStringList lines; return lines; }
    static QtMessageHandler& previous() { static QtMessageHandler handler = nullptr; return handler; }
    static QMutex& mutex() { static QMutex lock; return lock; }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtDebugMsg) {
            QMutexLocker lock(&mutex());
            collected().append(message);
        } else if (previous()) {
            previous()(type, context, message);
        }
    }
};

// What a modal window showed when the script met it.
struct SeenModal
{
    bool isFileDialog = false;
    QString title;
    QString text;                       // message box text
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;                // message box button texts, '&' removed
    QWidget* parent = nullptr;
    Qt::WindowFlags flags;
    bool modal = false;
    QString directory;                  // file dialog: the folder it opened in
    QString fileName;                   // file dialog: the proposed file name
    QStringList nameFilters;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    bool directoryExisted = false;      // the folder existed when the dialog showed
};

// Answers the modal windows that open while it lives, one step each, in order. Every action runs
// from the event loop of the modal it answers, so a modal opened by the action is met in turn.
// A modal without a step, or one still open after a few seconds, is closed, so a test fails
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
                if (button->text().remove(QLatin1Char('&')) == text) {
                    QTimer::singleShot(0, button, &QAbstractButton::click);
                    return true;
                }
            }
            return false;
        });
    }
    ModalScript& closeBox()
    {
        return step([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box)
                QTimer::singleShot(0, box, &QWidget::close);
            return box != nullptr;
        });
    }
    ModalScript& saveAs(const QString& path)
    {
        return step([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QLineEdit* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (edit) {
                edit->setText(path);
                QTimer::singleShot(0, dialog, &QDialog::accept);
            }
            return edit != nullptr;
        });
    }
    ModalScript& cancelDialog()
    {
        return step([](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog)
                QTimer::singleShot(0, dialog, &QDialog::reject);
            return dialog != nullptr;
        });
    }

    QList<SeenModal> seen;
    int unanswered = 0;                 // modals closed because no step fitted them
    bool done() const { return next == steps.size(); }

private:
    ModalScript& step(std::function<bool(QWidget*)> action)
    {
        steps.append(std::move(action));
        return *this;
    }

    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == answered)
            return;
        if (next < steps.size()) {
            note(modal);
            if (steps.at(next)(modal)) {
                ++next;
                answered = modal;
                clock.restart();
                return;
            }
        }
        if (clock.elapsed() > 3000 || next >= steps.size()) {
            ++unanswered;
            answered = modal;
            QTimer::singleShot(0, modal, &QWidget::close);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                QTimer::singleShot(0, dialog, &QDialog::reject);
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
            if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                s.fileName = edit->text();
            s.nameFilters = dialog->nameFilters();
            s.acceptMode = dialog->acceptMode();
        }
        seen.append(s);
    }

    QTimer timer;
    QElapsedTimer clock;
    QList<std::function<bool(QWidget*)>> steps;
    int next = 0;
    QPointer<QWidget> answered;
    QPointer<QWidget> seenWidget;
};

} // namespace PageTest
