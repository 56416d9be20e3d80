// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

// A week as the cache file holds it (Windows-1252): a title, a Montag with a
// location phrase and the salads the day view leaves out, a Dienstag with
// every category, a comma stored as ";;;" and a location name, and a
// Mittwoch with a heading only.
namespace CachedWeek {

inline const QByteArray bytes = QByteArrayLiteral(
    "<neuer abschnitt>\r\nSpeiseplan vom 07.12. bis 12.12.\r\n"
    "<neuer abschnitt>\r\nMontag, 07.12.\r\nMen\xfc I\r\nGulasch Nur im Kronenhof erh\xe4ltlich\r\n"
    "Frische Salate\r\nGurkensalat\r\n"
    "<neuer abschnitt>\r\nDienstag, 08.12.\r\nMen\xfc I\r\nSchnitzel\r\nWahlessen\r\nPizza;;; Salat\r\n"
    "Eintopf\r\nErbsen\r\nMen\xfc II (veg.)\r\nTofu Nordhang\r\nAbendessen\r\nBrot\r\nFrische Salate\r\n"
    "<neuer abschnitt>\r\nMittwoch, 09.12.\r\n");

} // namespace CachedWeek
