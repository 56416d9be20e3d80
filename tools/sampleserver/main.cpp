// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/sampleserver/nextweek.h"

#include <httplib.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <csignal>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <string>
#include <thread>

using kostwerk::tools::copySiteAWeekOn;

namespace {

constexpr char host[] = "127.0.0.1";

int fail(const QString &message)
{
    std::cerr << "kostwerk-sample-server: " << message.toStdString() << std::endl;
    return 1;
}

// The canteen sends its pages without a charset, so they are read as
// Windows-1252.
void setPageContentType(httplib::Server &server)
{
    server.set_file_extension_and_mimetype_mapping("html", "text/html")
        .set_file_extension_and_mimetype_mapping("htm", "text/html");
}

// One line per request, written at once so that lines of parallel requests
// do not mix.
void logRequest(const httplib::Request &request, const httplib::Response &response)
{
    std::cerr << request.method + ' ' + request.path + ' ' + std::to_string(response.status) + '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    // Blocked before any thread starts, so every thread inherits the mask
    // and only the sigwait below receives the signals.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"kostwerk-sample-server"_qs);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Liefert einen Ordner über HTTP auf 127.0.0.1 aus, bis SIGTERM oder SIGINT kommt.\n"
        "Schreibt beim Start genau eine Zeile mit der Adresse."_qs);
    parser.addHelpOption();
    const QCommandLineOption rootOption(u"root"_qs, u"Auszuliefernder Ordner"_qs, u"ordner"_qs,
                                        QString::fromUtf8(KOSTWERK_SAMPLE_SITE));
    const QCommandLineOption portOption(u"port"_qs, u"Port, 0 für einen freien"_qs, u"port"_qs, u"0"_qs);
    const QCommandLineOption nextWeekOption(
        u"next-week"_qs, u"Die folgende Woche ausliefern: jedes Datum der Seiten sieben Tage später"_qs);
    parser.addOptions({rootOption, portOption, nextWeekOption});
    parser.process(app);

    bool isNumber = false;
    const int port = parser.value(portOption).toInt(&isNumber);
    if (!isNumber || port < 0 || port > 65535)
        return fail(u"Ungültiger Port: "_qs + parser.value(portOption));

    httplib::Server server;
    setPageContentType(server);
    // One request per connection: a stop would otherwise wait for idle
    // keep-alive connections to time out.
    server.set_keep_alive_max_count(1);
    // Unlike the library's default without SO_REUSEPORT, so that a port in
    // use by another server is an error instead of being shared.
    server.set_socket_options([](socket_t socket) {
        const int on = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    });
    server.set_logger(logRequest);
    QString root = parser.value(rootOption);
    // The following week is a copy of the site, made once, so that it is
    // served like the site itself.
    std::optional<QTemporaryDir> nextWeek;
    if (parser.isSet(nextWeekOption)) {
        if (!nextWeek.emplace().isValid())
            return fail(u"Kein temporärer Ordner: "_qs + nextWeek->errorString());
        if (const QString failed = copySiteAWeekOn(root, nextWeek->path()); !failed.isEmpty())
            return fail(u"Nicht kopierbar: "_qs + failed);
        root = nextWeek->path();
    }
    if (!server.set_mount_point("/", root.toStdString()))
        return fail(u"Ordner nicht lesbar: "_qs + root);

    int boundPort = port;
    if (port == 0)
        boundPort = server.bind_to_any_port(host);
    else if (!server.bind_to_port(host, port))
        boundPort = -1;
    if (boundPort < 0)
        return fail(u"Port nicht verfügbar: "_qs + QString::number(port));
    std::cout << "http://" << host << ':' << boundPort << '/' << std::endl;

    std::thread serving([&server] { server.listen_after_bind(); });
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    serving.join();
    return 0;
}
