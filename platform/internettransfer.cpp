#include "platform/internettransfer.h"

#include "platform/pagedecoding.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrl>

#include <algorithm>
#include <array>
#include <memory>

namespace kostwerk::platform {

namespace {

Q_LOGGING_CATEGORY(lcTransfer, "kostwerk.transfer", QtInfoMsg)

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
    WaitLeft,  // the local event loop was ended from outside
};

Download failure(Download::Error error, const QString &detail, int httpStatus = 0)
{
    Download download;
    download.error = error;
    download.detail = detail;
    download.httpStatus = httpStatus;
    return download;
}

QNetworkRequest requestFor(const QString &url, std::chrono::milliseconds timeout)
{
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(maxRedirects);
    request.setTransferTimeout(int(timeout.count()));
    return request;
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
    // We abort only for the reasons in Interruption, so a cancelled reply
    // was stopped by the transfer time-out.
    case QNetworkReply::OperationCanceledError:
        return Download::Error::TimedOut;
    default:
        return Download::Error::Failed;
    }
}

// The outcome of a finished reply, without the text.
Download outcomeOf(const QNetworkReply &reply, Interruption interruption)
{
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An error page must never pass for the document, whatever else went wrong.
    if (status >= 400)
        return failure(Download::Error::HttpStatus, reply.errorString(), status);
    switch (interruption) {
    case Interruption::TooLarge:
        return failure(Download::Error::TooLarge,
                       QStringLiteral("The page is larger than %1 bytes")
                           .arg(InternetTransfer::maxPageSize));
    case Interruption::WaitLeft:
        return failure(Download::Error::Failed,
                       QStringLiteral("The wait for the page was ended from outside"));
    case Interruption::None:
        break;
    }
    if (reply.error() == QNetworkReply::NoError)
        return {};
    return failure(errorFor(reply.error()), reply.errorString());
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
        static constexpr std::array inputTypes = {
            QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
            QEvent::NonClientAreaMouseButtonPress, QEvent::NonClientAreaMouseButtonRelease,
            QEvent::NonClientAreaMouseButtonDblClick, QEvent::KeyPress, QEvent::KeyRelease,
            QEvent::ShortcutOverride, QEvent::Shortcut, QEvent::Wheel, QEvent::ContextMenu,
            QEvent::TouchBegin, QEvent::TouchUpdate, QEvent::TouchEnd,
            QEvent::TabletPress, QEvent::TabletRelease};
        return std::find(inputTypes.begin(), inputTypes.end(), event->type()) != inputTypes.end();
    }
};

} // namespace

InternetTransfer::InternetTransfer(QObject *parent)
    : QObject(parent)
{
    // Users behind a proxy have it in their system settings, not in ours.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

InternetTransfer::~InternetTransfer()
{
    // Destroyed from an event handled while a download waits: end the wait,
    // so that openUrl returns; the manager takes the reply down with it.
    if (m_wait)
        m_wait->exit();
}

void InternetTransfer::setRequestTimeout(std::chrono::milliseconds timeout)
{
    m_timeout = timeout;
}

bool InternetTransfer::stillExecuting() const
{
    return m_wait != nullptr;
}

Download InternetTransfer::openUrl(const QString &url)
{
    // An event handled during the wait may ask again; one wait at a time.
    if (stillExecuting()) {
        qCWarning(lcTransfer) << "Refused" << url << "while another download runs";
        return failure(Download::Error::Failed,
                       QStringLiteral("Another download is still running"));
    }
    qCDebug(lcTransfer) << "Downloading" << url;

    QByteArray body;
    Interruption interruption = Interruption::None;
    // Declared after what the connected lambdas use: destroying it cuts them.
    QEventLoop wait;
    const QPointer<InternetTransfer> alive(this);
    m_wait = &wait;

    ReplyPointer reply(m_manager.get(requestFor(url, m_timeout)));
    connect(reply.get(), &QIODevice::readyRead, &wait,
            [&body, &interruption, source = reply.get()] {
                body += source->readAll();
                if (body.size() > maxPageSize) {
                    interruption = Interruption::TooLarge;
                    source->abort();
                }
            });
    connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
    {
        // Input that arrives during the wait is dropped, not replayed once
        // the window takes input again (the refresh button is enabled by
        // then). The window system's input is held back during the wait and
        // dropped after it.
        const InputDiscarder discarder;
        if (!reply->isFinished())
            wait.exec(QEventLoop::ExcludeUserInputEvents);
        QCoreApplication::processEvents();
    }

    if (!alive) {
        // We were destroyed during the wait, and our manager deleted the reply.
        (void)reply.release();
        qCInfo(lcTransfer) << "Download of" << url << "abandoned by its owner";
        return failure(Download::Error::Failed,
                       QStringLiteral("The download was abandoned by its owner"));
    }
    m_wait = nullptr;
    if (!reply->isFinished()) {
        interruption = Interruption::WaitLeft;
        reply->abort();
    }

    Download download = outcomeOf(*reply, interruption);
    if (!download.ok()) {
        qCInfo(lcTransfer) << "Download of" << url << "failed:" << download.detail;
        return download;
    }
    download.text = decodePage(body, reply->rawHeader(QByteArrayLiteral("Content-Type")));
    qCDebug(lcTransfer) << "Downloaded" << body.size() << "bytes from" << url;
    return download;
}

} // namespace kostwerk::platform
