#pragma once

#include <QString>

namespace kostwerk::platform {

// The outcome of writing a file: success, or why it failed in the system's
// own words (for the log and the status line's tooltip).
struct WriteResult
{
    QString error;  // empty on success

    bool ok() const { return error.isEmpty(); }
    explicit operator bool() const { return ok(); }

    static WriteResult failure(const QString &error)
    {
        return {error.isEmpty() ? QStringLiteral("Unknown error") : error};
    }
};

} // namespace kostwerk::platform
