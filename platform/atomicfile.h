#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file with bytes only once all of them are on disk; on any
// failure (a full disk included) the old file stays as it was.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);
