#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QFileDialog;
class QMessageBox;

namespace VEK_SC_Space {

// Answers the modal windows a page opens, the way a user at the keyboard would: the save
// dialog gets the file name typed in and Return, a message box its accepting button. A
// critical box is also noted as an error.
class ModalResponder : public QObject
{
    Q_OBJECT

public:
    explicit ModalResponder(QObject* parent = nullptr);

    void setSaveFileName(const QString& path); // the answer to the next save dialog
    QStringList errors() const;
    void clearErrors();

private:
    void respond();
    void answerSaveDialog(QFileDialog* dialog);
    void answerMessageBox(QMessageBox* box);

    QTimer poll;
    QString saveFileName;
    QStringList errorTexts;
    QPointer<QWidget> answered; // a window closes asynchronously; answer it once
    QElapsedTimer answeredSince;
};

} // namespace VEK_SC_Space
