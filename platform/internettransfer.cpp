// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/internettransfer.h"

#include "platform/logging.h"
#include "platform/pagedecoding.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <utility>

namespace kostwerk::platform {

namespace {

constexpr int maxRedirects = 5;

Download failure(Download::Error error, const QString &reason)
{
    Download download;
    download.error = error;
    download.reason = reason;
    return download;
}

QNetworkRequest requestFor(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(maxRedirects);
    // Asked for gzip, Qt inflates the body and no longer notices one that
    // ends before its Content-Length; unencoded, a body cut short fails.
    request.setRawHeader(QByteArrayLiteral("Accept-Encoding"), QByteArrayLiteral("identity"));
    return request;
}

bool isHttp(const QUrl &url)
{
    return url.scheme().compare(u"http", Qt::CaseInsensitive) == 0
           || url.scheme().compare(u"https", Qt::CaseInsensitive) == 0;
}

Download::Error errorFor(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    // Qt has no error of its own for an unreachable network; the socket's
    // "network unreachable" arrives as this one.
    case QNetworkReply::UnknownNetworkError:
        return Download::Error::NoConnection;
    case QNetworkReply::TimeoutError:
        return Download::Error::TimedOut;
    // The server closed the connection before the body was complete. Qt
    // tells so only when the close comes after the data: where the last
    // bytes and the close arrive together, and where a chunk size is no
    // number, it takes the body as complete (outcome() still catches a body
    // shorter than its Content-Length).
    case QNetworkReply::RemoteHostClosedError:
        return Download::Error::BrokenOff;
    default:
        return Download::Error::Failed;
    }
}

QString reasonPhrase(const QNetworkReply &reply)
{
    return reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
}

} // namespace

InternetTransfer::InternetTransfer(QObject *parent)
    : QObject(parent)
{
    // Counted from the request to the last byte, so that a server sending a
    // byte now and then cannot keep a download running for ever.
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(Interruption::TimedOut); });
    m_refusal.setSingleShot(true);
    connect(&m_refusal, &QTimer::timeout, this, [this] { finish(Interruption::None); });
}

InternetTransfer::~InternetTransfer()
{
    // The manager takes the reply down with it; it must not call us meanwhile.
    if (m_reply)
        m_reply->disconnect(this);
}

void InternetTransfer::setRequestTimeout(std::chrono::milliseconds timeout)
{
    m_timeout = timeout;
}

bool InternetTransfer::isRunning() const
{
    return m_reply || m_refusal.isActive();
}

bool InternetTransfer::start(const QString &url)
{
    if (isRunning()) {
        qCWarning(lcPlatform) << "Refused" << url << "while another download runs";
        return false;
    }
    m_url = url;
    // Checked before anything is opened: a file: URL naming a FIFO would
    // block in open() beyond any time-out.
    const QUrl target(url);
    if (!isHttp(target)) {
        qCWarning(lcPlatform) << "Refused" << url << ": neither http nor https";
        m_refusal.start(0);
        return true;
    }
    qCDebug(lcPlatform) << "Downloading" << url;
    m_reply.reset(m_manager.get(requestFor(target)));
    connect(m_reply.get(), &QIODevice::readyRead, this, &InternetTransfer::takeBytes);
    connect(m_reply.get(), &QNetworkReply::finished, this, [this] { finish(Interruption::None); });
    m_deadline.start(m_timeout);
    return true;
}

void InternetTransfer::abort()
{
    if (isRunning())
        finish(Interruption::Aborted);
}

void InternetTransfer::takeBytes()
{
    m_body += m_reply->readAll();
    if (m_body.size() > maxPageSize)
        finish(Interruption::TooLarge);
    else
        emit received(m_body.size());
}

void InternetTransfer::finish(Interruption interruption)
{
    m_deadline.stop();
    m_refusal.stop();
    if (m_reply) {
        // Its own finished() must not reach us again once it is aborted.
        m_reply->disconnect(this);
        m_body += m_reply->readAll();
        if (m_body.size() > maxPageSize)
            interruption = Interruption::TooLarge;
        if (!m_reply->isFinished())
            m_reply->abort();
    }
    Download download = outcome(interruption);
    download.url = std::exchange(m_url, {});
    download.size = m_body.size();
    if (m_reply)
        download.httpStatus = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (download.ok()) {
        DecodedPage page = decodePage(m_body, m_reply->rawHeader(QByteArrayLiteral("Content-Type")));
        download.text = std::move(page.text);
        download.charset = std::move(page.charset);
        qCDebug(lcPlatform) << "Downloaded" << download.size << "bytes from" << download.url << "as"
                            << download.charset;
    } else {
        qCInfo(lcPlatform) << "Download of" << download.url << "failed:" << download.error << download.reason;
    }
    // Deleted once back in the event loop, which is still inside its signals.
    const std::unique_ptr<QNetworkReply, DeleteLater> done = std::move(m_reply);
    m_body = QByteArray();
    emit finished(download);
}

Download InternetTransfer::outcome(Interruption interruption) const
{
    if (!m_reply) // refused before anything was opened
        return failure(interruption == Interruption::Aborted ? Download::Error::Interrupted : Download::Error::NotHttp,
                       {});
    const QNetworkReply &reply = *m_reply;
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page must never pass for the document, whatever else went wrong.
    if (status >= 400)
        return failure(Download::Error::HttpStatus, reasonPhrase(reply));
    switch (interruption) {
    case Interruption::TooLarge:
        return failure(Download::Error::TooLarge, {});
    case Interruption::TimedOut:
        return failure(Download::Error::TimedOut, {});
    case Interruption::Aborted:
        return failure(Download::Error::Interrupted, {});
    case Interruption::None:
        break;
    }
    // Only a final 2xx answer is a page: a 304, or a 300 with nowhere to go,
    // is not the document either.
    const bool page = status >= 200 && status <= 299;
    // Qt does not tell a body that broke off when the close arrives together
    // with its last bytes; one shorter than the server announced is broken
    // off either way.
    const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
    if (page && announced.isValid() && m_body.size() < announced.toLongLong())
        return failure(Download::Error::BrokenOff, {});
    if (reply.error() != QNetworkReply::NoError)
        return failure(errorFor(reply.error()), reply.errorString());
    if (!page)
        return failure(Download::Error::HttpStatus, reasonPhrase(reply));
    return {};
}

} // namespace kostwerk::platform
