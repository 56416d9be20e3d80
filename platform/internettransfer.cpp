// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/internettransfer.h"

#include "platform/logging.h"
#include "platform/pagedecoding.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <array>
#include <memory>

namespace kostwerk::platform {

namespace {

constexpr int maxRedirects = 5;

struct DeleteLater
{
    void operator()(QObject *object) const { object->deleteLater(); }
};
using ReplyPointer = std::unique_ptr<QNetworkReply, DeleteLater>;

// Why we stopped a reply ourselves before it finished.
enum class Interruption {
    None,
    TooLarge,
    TimedOut,
    WaitLeft, // the local event loop was ended from outside: abort(), or the program quits
};

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
    // number, it takes the body as complete.
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

// The outcome of a finished reply, without the text.
Download outcomeOf(const QNetworkReply &reply, Interruption interruption)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page must never pass for the document, whatever else went wrong.
    if (status >= 400)
        return failure(Download::Error::HttpStatus, reasonPhrase(reply));
    switch (interruption) {
    case Interruption::TooLarge:
        return failure(Download::Error::TooLarge, {});
    case Interruption::TimedOut:
        return failure(Download::Error::TimedOut, {});
    case Interruption::WaitLeft:
        return failure(Download::Error::Interrupted, {});
    case Interruption::None:
        break;
    }
    if (reply.error() != QNetworkReply::NoError)
        return failure(errorFor(reply.error()), reply.errorString());
    // Only a final 2xx answer is a page: a 304, or a 300 with nowhere to go,
    // is not the document either.
    if (status < 200 || status > 299)
        return failure(Download::Error::HttpStatus, reasonPhrase(reply));
    return {};
}

// Swallows the application's user input for as long as it lives.
class InputDiscarder final : public QObject
{
public:
    InputDiscarder()
    {
        if (QCoreApplication *application = QCoreApplication::instance())
            application->installEventFilter(this);
    }
    ~InputDiscarder() override
    {
        if (QCoreApplication *application = QCoreApplication::instance())
            application->removeEventFilter(this);
    }
    Q_DISABLE_COPY_MOVE(InputDiscarder)

    bool eventFilter(QObject *, QEvent *event) override
    {
        static constexpr std::array inputTypes = {QEvent::MouseButtonPress,
                                                  QEvent::MouseButtonRelease,
                                                  QEvent::MouseButtonDblClick,
                                                  QEvent::NonClientAreaMouseButtonPress,
                                                  QEvent::NonClientAreaMouseButtonRelease,
                                                  QEvent::NonClientAreaMouseButtonDblClick,
                                                  QEvent::KeyPress,
                                                  QEvent::KeyRelease,
                                                  QEvent::ShortcutOverride,
                                                  QEvent::Shortcut,
                                                  QEvent::Wheel,
                                                  QEvent::ContextMenu,
                                                  QEvent::TouchBegin,
                                                  QEvent::TouchUpdate,
                                                  QEvent::TouchEnd,
                                                  QEvent::TabletPress,
                                                  QEvent::TabletRelease};
        return std::find(inputTypes.begin(), inputTypes.end(), event->type()) != inputTypes.end();
    }
};

} // namespace

InternetTransfer::InternetTransfer(QObject *parent)
    : QObject(parent)
{
}

InternetTransfer::~InternetTransfer()
{
    // Destroyed from an event handled while a download waits: end the wait,
    // so that openUrl returns; the manager takes the reply down with it.
    abort();
}

void InternetTransfer::setRequestTimeout(std::chrono::milliseconds timeout)
{
    m_timeout = timeout;
}

bool InternetTransfer::stillExecuting() const
{
    return m_wait != nullptr;
}

void InternetTransfer::abort()
{
    if (m_wait)
        m_wait->exit();
}

Download InternetTransfer::openUrl(const QString &url)
{
    Download download = receive(url);
    download.url = url;
    return download;
}

Download InternetTransfer::receive(const QString &url)
{
    // Checked before anything is opened: a file: URL naming a FIFO would
    // block in open() beyond any time-out.
    const QUrl target(url);
    if (!isHttp(target)) {
        qCWarning(lcPlatform) << "Refused" << url << ": neither http nor https";
        return failure(Download::Error::NotHttp, {});
    }
    // An event handled during the wait may ask again; one wait at a time.
    if (stillExecuting()) {
        qCWarning(lcPlatform) << "Refused" << url << "while another download runs";
        return failure(Download::Error::Busy, {});
    }
    qCDebug(lcPlatform) << "Downloading" << url;

    QByteArray body;
    Interruption interruption = Interruption::None;
    // Declared after what the connected lambdas use: destroying it cuts them.
    QEventLoop wait;
    const QPointer<InternetTransfer> alive(this);
    m_wait = &wait;

    ReplyPointer reply(m_manager.get(requestFor(target)));
    connect(reply.get(), &QIODevice::readyRead, &wait, [&body, &interruption, source = reply.get()] {
        body += source->readAll();
        if (body.size() > maxPageSize) {
            interruption = Interruption::TooLarge;
            source->abort();
        }
    });
    connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
    // Counted from the request to the last byte, so that a server sending a
    // byte now and then cannot keep the window waiting for ever.
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply.get(), [&interruption, source = reply.get()] {
        interruption = Interruption::TimedOut;
        source->abort();
    });
    deadline.start(m_timeout);
    {
        // Input that arrives during the wait is dropped, not replayed once
        // the window takes input again (the refresh button is enabled by
        // then). The wait does not hold back the window system's input as a
        // whole: Qt counts a close from the title bar as input too, and the
        // window must be able to end the program while a page downloads.
        const InputDiscarder discarder;
        if (!reply->isFinished())
            wait.exec();
        deadline.stop();
        QCoreApplication::processEvents();
    }

    if (!alive) {
        // We were destroyed during the wait, and our manager deleted the reply.
        (void)reply.release();
        qCInfo(lcPlatform) << "Download of" << url << "abandoned by its owner";
        return failure(Download::Error::Interrupted, {});
    }
    m_wait = nullptr;
    if (!reply->isFinished()) {
        interruption = Interruption::WaitLeft;
        reply->abort();
    }

    Download download = outcomeOf(*reply, interruption);
    download.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    download.size = body.size();
    if (!download.ok()) {
        qCInfo(lcPlatform) << "Download of" << url << "failed:" << download.error << download.reason;
        return download;
    }
    DecodedPage page = decodePage(body, reply->rawHeader(QByteArrayLiteral("Content-Type")));
    download.text = std::move(page.text);
    download.charset = std::move(page.charset);
    qCDebug(lcPlatform) << "Downloaded" << body.size() << "bytes from" << url << "as" << download.charset;
    return download;
}

} // namespace kostwerk::platform
