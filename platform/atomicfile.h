#pragma once

#include "platform/writeresult.h"

#include <QByteArray>
#include <QString>

namespace kostwerk::platform {

// Replaces the file with bytes only once all of them are on disk; on any
// failure (a full disk included) the old file stays as it was.
WriteResult writeFileAtomically(const QString &path, const QByteArray &bytes);

} // namespace kostwerk::platform
