// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

namespace kostwerk::platform {

// The outcome of one download, with what a maintainer needs to see how a
// site answered.
struct Download
{
    Q_GADGET

public:
    enum class Error {
        None,
        NotHttp,      // the URL is neither http nor https: nothing was opened
        NoConnection, // connection refused, host not found, network unreachable
        TimedOut,     // the whole document did not arrive within the time-out
        HttpStatus,   // the final answer was not a page: a status outside 200-299
        TooLarge,     // the body grew beyond maxPageSize
        BrokenOff,    // the connection ended before the whole body had come, or short of its Content-Length
        Busy,         // another download of the same transfer was still running: nothing was opened
        Interrupted,  // ended from outside before it was complete: the window closed
        Failed,       // anything else (TLS failure, too many redirects, ...)
    };
    Q_ENUM(Error)

    QString url;  // as asked for
    QString text; // the document, decoded; empty unless ok()
    Error error = Error::None;
    int httpStatus = 0; // the final answer's status; 0 when no answer came
    qint64 size = 0;    // the bytes of the body that arrived
    QString charset;    // what the text was decoded from; empty unless ok()
    // The other side's own words for a failure, as they came: the server's
    // reason phrase for an HTTP status, else the network's error text.
    // Empty when there were none (a time-out of our own, for one).
    QString reason;

    bool ok() const { return error == Error::None; }
};

} // namespace kostwerk::platform
