#include "ModalResponder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

namespace VEK_SC_Space {

ModalResponder::ModalResponder(QObject* parent)
    : QObject(parent)
{
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, &ModalResponder::respond);
    poll.start();
}

void ModalResponder::setSaveFileName(const QString& path)
{
    saveFileName = path;
}

QStringList ModalResponder::errors() const
{
    return errorTexts;
}

void ModalResponder::clearErrors()
{
    errorTexts.clear();
}

void ModalResponder::respond()
{
    // A window that outlives its answer would hold the caller in its event loop for good.
    constexpr int StuckMs = 5000;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (modal == answered) {
        if (answeredSince.elapsed() > StuckMs) {
            errorTexts << tr("window \"%1\" did not close").arg(modal->windowTitle());
            modal->close();
            answeredSince.restart();
        }
        return;
    }
    answered = modal;
    answeredSince.start();
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        answerSaveDialog(dialog);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        answerMessageBox(box);
    } else {
        errorTexts << tr("unexpected window \"%1\"").arg(modal->windowTitle());
        modal->close();
    }
}

void ModalResponder::answerSaveDialog(QFileDialog* dialog)
{
    auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (saveFileName.isEmpty() || !fileName) {
        errorTexts << tr("save dialog \"%1\" not answered").arg(dialog->windowTitle());
        dialog->reject();
        return;
    }
    // As a user would: into the folder, then the bare name. The name box takes quotes as
    // separators of several names, so a folder with a quote in its name cannot be typed there.
    const QFileInfo target(saveFileName);
    dialog->setDirectory(target.absolutePath());
    fileName->setText(target.fileName());
    saveFileName.clear();
    // Return is pressed from the event loop, not from this timer: a question the dialog asks
    // then (overwrite? no such folder?) opens its own loop, and a timer busy in its own slot
    // could never answer it.
    QTimer::singleShot(0, fileName, [fileName] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(fileName, &press);
        QCoreApplication::sendEvent(fileName, &release);
    });
}

void ModalResponder::answerMessageBox(QMessageBox* box)
{
    if (box->icon() == QMessageBox::Critical)
        errorTexts << box->windowTitle() + QLatin1String(": ") + box->text();
    const QList<QAbstractButton*> buttons = box->buttons();
    for (QAbstractButton* button : buttons) {
        const QMessageBox::ButtonRole role = box->buttonRole(button);
        if (role == QMessageBox::AcceptRole || role == QMessageBox::YesRole) {
            QTimer::singleShot(0, button, &QAbstractButton::click); // see answerSaveDialog
            return;
        }
    }
    errorTexts << tr("message box \"%1\" has no button to accept it").arg(box->text());
    box->close();
}

} // namespace VEK_SC_Space
