// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/dayview.h"
#include "ui/controls.h"
#include "ui/twips.h"

#include <array>

// The main window's controls and menus: their names, which tests and
// accessibility tools know them by, their initial captions and their places
// in the client area. The window and its week panel both place theirs from
// here.
namespace kostwerk::ui::MainWindowLayout {

using Controls::Control;

inline constexpr const char *window = "Kostwerk";
inline constexpr QStringView caption = u"Refekt Küchenplan";
inline constexpr QSize clientSize(Twips::toPixels(6645), Twips::toPixels(5970));
inline constexpr QPoint clientOrigin(Twips::toPixels(915), Twips::toPixels(1005));

inline constexpr Control heading{"Ueberschrift", u"Keine Daten vorhanden", Twips::rect(120, 120, 6375, 615)};
inline constexpr Control weekdayBox{"Frame1", u"Wochentagsauswahl", Twips::rect(120, 960, 1935, 1815)};
// Each weekday button, by index 0 = Montag; the place is within weekdayBox.
inline constexpr const char *weekdayButtons = "WTauswahl";
inline constexpr QRect weekdayButton(int index)
{
    return Twips::rect(120, 240 + 240 * index, 1600, 255);
}
// By core::Category.
inline constexpr std::array<Control, core::categoryCount> categoryBoxes = {{
    {"menu1", {}, Twips::rect(2280, 960, 2055, 2055)},
    {"wahlessen", {}, Twips::rect(4440, 960, 2055, 2055)},
    {"eintopf", {}, Twips::rect(240, 3120, 1935, 2055)},
    {"vegetarisch", {}, Twips::rect(2280, 3120, 2055, 2055)},
    {"abendessen", {}, Twips::rect(4440, 3120, 2055, 2055)},
}};
// Its captions tell the fetch's state (texts::Captions).
inline constexpr Control refreshButton{"cmdLoad", {}, Twips::rect(240, 5280, 1815, 495)};
inline constexpr Control printButton{"cmdWochenplan", u"Wochenplan drucken", Twips::rect(2160, 5280, 1815, 495)};
inline constexpr Control todayLabel{"Label1", u"Heute ist", Twips::rect(4320, 5280, 2055, 195)};
inline constexpr Control dateLabel{"datumF", u"Label2", Twips::rect(4320, 5520, 2055, 255)};

// Menus and their items.
struct MenuEntry
{
    const char *name;
    QStringView caption;
};
inline constexpr MenuEntry fileMenu{"datei", u"&Datei"};
inline constexpr MenuEntry settingsItem{"settings", u"&Einstellungen"};
inline constexpr MenuEntry printPreviewItem{"printPreview", u"&Druckvorschau…"};
inline constexpr MenuEntry weekOverviewItem{"weekOverview", u"&Wochenübersicht drucken…"};
inline constexpr MenuEntry quitItem{"quit", u"&Beenden"};
inline constexpr MenuEntry helpMenu{"infomenu", u"&?"};
inline constexpr MenuEntry infoItem{"info", u"&Info"};

} // namespace kostwerk::ui::MainWindowLayout
