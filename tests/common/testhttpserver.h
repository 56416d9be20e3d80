// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <httplib.h>

// Debian builds cpp-httplib as a library; the header's classes must be seen
// with the feature macros the library was built with, from its pkg-config file.
#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
#error "Link the test to kostwerk_testhttpserver, which brings cpp-httplib's compile flags"
#endif

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

// A real HTTP server on 127.0.0.1 for tests. It answers GET requests with the
// response set for the request's path (without query), and 404 with an empty
// body for any other path. Link kostwerk_testhttpserver to use it.
class TestHttpServer final
{
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = QByteArrayLiteral("text/html"); // empty: no Content-Type header
        std::chrono::milliseconds delay{0};   // stall this long before answering (for time-out tests)
        QByteArray location;                  // when set, sent as Location header (for redirects, with status 301/302)
        std::chrono::milliseconds trickle{0}; // when set, the body goes out a byte at a time, this far apart
        // When set, only that many bytes of the body go out, announced with the
        // whole body's length or, when chunked, in a chunk that no last chunk
        // follows; then the connection closes, at once or, with
        // closeWhenTold, at the test's next closeBrokenOff().
        std::optional<qsizetype> breakOffAt;
        bool chunked = false;
        bool closeWhenTold = false;
    };

    // Binds 127.0.0.1 on a free port and listens in its own thread; ready on return.
    TestHttpServer()
    {
        // A client that hangs up early must not kill the test with SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
        // One request per connection: a worker waiting for a next request on
        // a kept-alive connection would hold up stop() for seconds.
        m_server.set_keep_alive_max_count(1);
        m_server.set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &reply) {
            answer(request, reply);
            return httplib::Server::HandlerResponse::Handled;
        });
        // The server adds "Content-Type: text/plain" to every body that comes
        // without one; this runs after that and takes it out again.
        m_server.set_post_routing_handler([](const httplib::Request &, httplib::Response &reply) {
            if (reply.has_header(noContentTypeMark)) {
                reply.headers.erase(noContentTypeMark);
                reply.headers.erase("Content-Type");
            }
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            qFatal("TestHttpServer: cannot bind to 127.0.0.1");
        m_thread = std::thread([this] {
            m_server.listen_after_bind();
            m_listenEnded = true;
        });
        // stop() only takes effect once the accept loop runs.
        while (!m_server.is_running() && !m_listenEnded)
            std::this_thread::yield();
    }

    // Stops and joins; ends the delay of every stalled response at once.
    ~TestHttpServer()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_server.stop();
        m_thread.join();
    }

    Q_DISABLE_COPY_MOVE(TestHttpServer)

    // Replaces any earlier response for path; may be called while running.
    void serve(const QString &path, Response response)
    {
        const std::lock_guard lock(m_mutex);
        m_responses.insert(path, std::move(response));
    }

    QString url(const QString &path) const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port) + path; }

    // Closes the connection of every response with closeWhenTold that has
    // sent its part, including one a client asked for again.
    void closeBrokenOff()
    {
        {
            const std::lock_guard lock(m_mutex);
            ++m_closeTells;
        }
        m_wake.notify_all();
    }

    // How many requests for path arrived so far.
    int requestCount(const QString &path) const
    {
        const std::lock_guard lock(m_mutex);
        return m_requestCounts.value(path);
    }

private:
    static constexpr const char *noContentTypeMark = "X-Test-No-Content-Type";

    void answer(const httplib::Request &request, httplib::Response &reply)
    {
        const std::optional<Response> response = take(QString::fromStdString(request.path));
        if (!response) {
            reply.status = 404;
            return;
        }
        reply.status = response->status;
        if (response->contentType.isEmpty())
            reply.set_header(noContentTypeMark, "1");
        else
            reply.set_header("Content-Type", response->contentType.toStdString());
        if (!response->location.isEmpty())
            reply.set_header("Location", response->location.toStdString());
        if (response->breakOffAt)
            breakOff(reply, *response);
        else if (response->trickle.count() == 0)
            reply.body.assign(response->body.constData(), size_t(response->body.size()));
        else
            reply.set_chunked_content_provider(
                response->contentType.toStdString(),
                [this, body = response->body, pause = response->trickle](size_t sent, httplib::DataSink &sink) {
                    if (sent == size_t(body.size()))
                        sink.done();
                    std::unique_lock lock(m_mutex);
                    return sent == size_t(body.size()) || (!m_wake.wait_for(lock, pause, [this] {
                               return m_stopping;
                           }) && sink.write(body.constData() + sent, 1));
                });
    }

    // The part goes out first, then the close: a test that wants it to come
    // after the client has read the part says when.
    void breakOff(httplib::Response &reply, const Response &response)
    {
        auto send = [this, part = response.body.left(*response.breakOffAt), whenTold = response.closeWhenTold,
                     tellsBefore = std::uint64_t(0)](size_t sent, httplib::DataSink &sink) mutable {
            if (sent == 0) {
                {
                    const std::lock_guard lock(m_mutex);
                    tellsBefore = m_closeTells;
                }
                return sink.write(part.constData(), size_t(part.size()));
            }
            if (whenTold) {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [&] { return m_closeTells != tellsBefore || m_stopping; });
            }
            return false;
        };
        const std::string type = response.contentType.toStdString();
        if (response.chunked)
            reply.set_chunked_content_provider(type, send);
        else
            reply.set_content_provider(
                size_t(response.body.size()), type,
                [send](size_t sent, size_t, httplib::DataSink &sink) mutable { return send(sent, sink); });
    }

    // Counts the request and waits out the response's delay; nothing once
    // the server is stopping or when path has no response.
    std::optional<Response> take(const QString &path)
    {
        std::unique_lock lock(m_mutex);
        ++m_requestCounts[path];
        const auto found = m_responses.constFind(path);
        if (found == m_responses.cend())
            return std::nullopt;
        Response response = *found;
        if (m_wake.wait_for(lock, response.delay, [this] { return m_stopping; }))
            return std::nullopt;
        return response;
    }

    httplib::Server m_server;
    std::thread m_thread;
    std::atomic<bool> m_listenEnded = false;
    int m_port = 0;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::uint64_t m_closeTells = 0;
    QHash<QString, Response> m_responses;
    QHash<QString, int> m_requestCounts;
};
