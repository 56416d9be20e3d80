#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <chrono>

class QEventLoop;

namespace kostwerk::platform {

// The outcome of one download.
struct Download
{
    enum class Error {
        None,
        NoConnection,  // connection refused, host not found, network unreachable
        TimedOut,      // no data for longer than the request time-out
        HttpStatus,    // the server answered with a 4xx or 5xx status
        TooLarge,      // the body grew beyond maxPageSize
        Failed,        // anything else (TLS failure, bad URL, too many redirects, ...)
    };

    QString text;  // the document, decoded; empty unless ok()
    Error error = Error::None;
    int httpStatus = 0;  // the status for Error::HttpStatus
    QString detail;      // Qt's own error text, for the log

    bool ok() const { return error == Error::None; }
};

// A synchronous download of a URL to text, built on QtNetwork. While a
// download runs, a local event loop keeps the windows painted but holds back
// user input, so the program waits without freezing its window.
class InternetTransfer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InternetTransfer)

public:
    static constexpr std::chrono::milliseconds defaultTimeout = std::chrono::seconds(60);
    static constexpr qint64 maxPageSize = 16 * 1024 * 1024;

    explicit InternetTransfer(QObject *parent = nullptr);
    ~InternetTransfer() override;

    void setRequestTimeout(std::chrono::milliseconds timeout);

    // True while an earlier request is still running.
    bool stillExecuting() const;

    // Returns once the whole document has arrived or the download failed.
    Download openUrl(const QString &url);

private:
    QNetworkAccessManager m_manager;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    QEventLoop *m_wait = nullptr;  // the local event loop of the running download
};

} // namespace kostwerk::platform
