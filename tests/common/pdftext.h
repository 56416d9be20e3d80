// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

// The text of a PDF by poppler's pdftotext; pages end in a form feed.
// Nothing when pdftotext is not installed.
inline std::optional<QString> pdfText(const QString &pdf, const QStringList &options)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return std::nullopt;
    QProcess process;
    process.start(pdftotext, options + QStringList{pdf, QStringLiteral("-")});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QStringList words(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}
