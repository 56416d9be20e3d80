// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/download.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

class QNetworkReply;

namespace kostwerk::platform {

// A download of a URL to text on QtNetwork that answers through signals:
// start() returns at once, and finished() follows once the whole document
// has arrived or the download failed, while the program's event loop goes
// on. Each download ends after the request time-out in all, however slowly
// the data arrive. One download at a time.
class InternetTransfer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InternetTransfer)

public:
    static constexpr std::chrono::milliseconds defaultTimeout = std::chrono::seconds(60);
    static constexpr qint64 maxPageSize = 16 * 1024 * 1024;

    explicit InternetTransfer(QObject *parent = nullptr);
    // A download still running ends without a word.
    ~InternetTransfer() override;

    void setRequestTimeout(std::chrono::milliseconds timeout);

    // True from start() until finished().
    bool isRunning() const;

    // Starts downloading url; finished() follows from the event loop, also
    // for a URL refused at once: only http and https URLs are fetched. False,
    // and nothing starts, while another download runs.
    bool start(const QString &url);

    // Ends the running download at once, if there is one: finished() reports
    // it Interrupted before abort returns. For a window that is closed while
    // a page downloads.
    void abort();

signals:
    // The bytes of the body that arrived so far, each time more arrive.
    void received(qint64 bytes);
    void finished(const kostwerk::platform::Download &download);

private:
    // Why we stopped a download ourselves before it finished.
    enum class Interruption { None, TooLarge, TimedOut, Aborted };

    struct DeleteLater
    {
        void operator()(QObject *object) const { object->deleteLater(); }
    };

    void takeBytes();
    void finish(Interruption interruption);
    // The outcome of the download, without its URL and text.
    Download outcome(Interruption interruption) const;

    QNetworkAccessManager m_manager;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    QString m_url;
    std::unique_ptr<QNetworkReply, DeleteLater> m_reply;
    QByteArray m_body;
    QTimer m_deadline; // ends the whole download after m_timeout
    QTimer m_refusal;  // reports a URL refused at once from the event loop
};

} // namespace kostwerk::platform
