#pragma once

// Approval files: a test renders what it checks as lines of text and compares them with a
// reviewed file under tests/data/. On a mismatch the lines go to <file>.received beside it; with
// APPROVE=1 in the environment they replace the approved file instead, for review in the diff.

#include <QFile>
#include <QStringList>
#include <QTest>

inline bool matchesApproved(const QString& name, const QStringList& lines)
{
    const QString path = QStringLiteral(TEST_DATA_DIR "/") + name;
    const QByteArray received = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
    const bool approve = qEnvironmentVariableIntValue("APPROVE") == 1;
    QFile approved(path);
    // In text mode: a checkout with CRLF line ends (git on Windows) matches as well.
    if (!approve && approved.open(QIODevice::ReadOnly | QIODevice::Text) && approved.readAll() == received) {
        QFile::remove(path + QStringLiteral(".received"));
        return true;
    }
    QFile out(approve ? path : path + QStringLiteral(".received"));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(received);
    if (approve)
        return true;
    qWarning("%s differs from what the test received; see %s.received (APPROVE=1 rewrites it)",
             qPrintable(path), qPrintable(path));
    return false;
}
