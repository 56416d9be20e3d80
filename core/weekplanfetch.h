// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"
#include "platform/download.h"
#include "platform/filefailure.h"
#include "platform/pathbelow.h"

#include <QObject>

#include <optional>

namespace kostwerk::platform {
class InternetTransfer;
}

namespace kostwerk::core {

// Where the week comes from: the start page that links to the week's page,
// and the base that link is appended to.
struct WeekSite
{
    QString startURL;
    QString basisURL;
};

// What a fetch brought. When no new week came in, or it could not be kept,
// the first problem met is reported with its cause; the window decides how
// to tell the user.
struct FetchReport
{
    Q_GADGET

public:
    enum class Problem {
        None,
        NotHttp,      // a URL that is neither http nor https
        NoConnection, // server unreachable or host not found
        TimedOut,
        HttpStatus, // the server's final answer was not a page (not 2xx)
        PageTooLarge,
        BrokenOff,       // the transfer ended before the whole page had come
        DownloadFailed,  // any other download failure
        NoWeekLink,      // the start page holds no link to the week
        NoDaySections,   // the week page holds no day sections
        CacheNotWritten, // the new week is shown but could not be kept
    };
    Q_ENUM(Problem)

    // The week from now on: the new sections, or, when none came in, the
    // previous week (with its tags stripped again once a week page was
    // asked for).
    WeekPlan weekPlan;
    bool sectionsFound = false;

    Problem problem = Problem::None;
    // The failed download as the transfer told it: its final status (0 when
    // none came), the kind of failure and the other side's own words.
    int httpStatus = 0;
    platform::Download::Error downloadError = platform::Download::Error::None;
    QString reason;
    // Why the new week could not be kept, and the cache's name below its folder.
    platform::FileFailure cacheFailure;
    QString cacheName;

    // Each step as it went, for whoever looks into how a site answers: the
    // start page, the link found in it, and the week page, which is not
    // asked for when the start page failed.
    platform::Download startPage;
    QString weekLink;
    std::optional<platform::Download> weekPage;

    bool ok() const { return problem == Problem::None; }
};

// Downloads the start page, follows the week link, downloads the week page
// and cuts it into sections; touches no file. Without the start page there
// is no telling which week is current, so a failed start page ends the fetch
// there. A start page without the link leads to basisURL itself.
FetchReport retrieveWeekPlan(const WeekSite &site, platform::InternetTransfer &transfer, const WeekPlan &current);

// Retrieves the week and, when new sections came in, writes them to the
// cache file. The cache is only rewritten when new sections came in.
FetchReport fetchWeekPlan(const WeekSite &site, const platform::PathBelow &cache, platform::InternetTransfer &transfer,
                          const WeekPlan &current);

} // namespace kostwerk::core
