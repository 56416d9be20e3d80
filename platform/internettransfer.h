// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/download.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

#include <chrono>

class QEventLoop;

namespace kostwerk::platform {

// A synchronous download of a URL to text, built on QtNetwork. While a
// download runs, a local event loop keeps the windows painted and lets them
// be closed but drops the user's input, so the program waits without
// freezing its window. Each download ends after the request time-out in all,
// however slowly the data arrive.
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

    // Ends the running download at once, if there is one: openUrl returns a
    // failure. For a window that is closed while it waits for a page.
    void abort();

    // Returns once the whole document has arrived or the download failed.
    // Only http and https URLs are fetched; any other fails at once.
    Download openUrl(const QString &url);

private:
    // openUrl without the URL in its result.
    Download receive(const QString &url);

    QNetworkAccessManager m_manager;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    QEventLoop *m_wait = nullptr; // the local event loop of the running download
};

} // namespace kostwerk::platform
