#pragma once

#include <QString>

namespace kostwerk::platform {

// The outcome of one download, with what a maintainer needs to see how a
// site answered.
struct Download
{
    enum class Error {
        None,
        NoConnection,  // connection refused, host not found, network unreachable
        TimedOut,      // the whole document did not arrive within the time-out
        HttpStatus,    // the final answer was not a page: a status outside 200-299
        TooLarge,      // the body grew beyond maxPageSize
        Failed,        // anything else (TLS failure, bad URL, too many redirects, aborted, ...)
    };

    QString url;  // as asked for
    QString text;  // the document, decoded; empty unless ok()
    Error error = Error::None;
    int httpStatus = 0;  // the final answer's status; 0 when no answer came
    qint64 size = 0;     // the bytes of the body that arrived
    QString charset;     // what the text was decoded from; empty unless ok()
    QString detail;      // Qt's own error text, for the log

    bool ok() const { return error == Error::None; }
};

} // namespace kostwerk::platform
