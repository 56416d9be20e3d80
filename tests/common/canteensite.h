// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/common/testhttpserver.h"

#include <QByteArray>
#include <QString>

// A canteen site on the loopback server: a start page linking to a week page
// with a title and two days.
namespace CanteenSite {

inline const QByteArray startPage = QByteArrayLiteral("<A HREF=\"tneu.html\">Vom 07.12.</A>");
inline const QByteArray weekPage = QByteArrayLiteral(
    "<h2>Neue Woche</h2><h2>Montag, 14.12.</h2><BR>Men&uuml; I<BR>Ente<BR>"
    "<h2>Dienstag, 15.12.</h2><BR>Men&uuml; I<BR>Forelle<BR>Wahlessen<BR><hr>");

// Serves the site's pages in folder ("00.html" and "tneu.html"); gives the
// settings file that points the program at them.
inline QByteArray serve(TestHttpServer &server, const QString &folder = QStringLiteral("/refekt/"))
{
    server.serve(folder + u"00.html", {200, startPage});
    server.serve(folder + u"tneu.html", {200, weekPage});
    return "[Settings]\r\nstartURL=" + server.url(folder + u"00.html").toLatin1()
           + "\r\nbasisURL=" + server.url(folder).toLatin1() + "\r\ncacheFile=cache.rfk\r\n";
}

} // namespace CanteenSite
