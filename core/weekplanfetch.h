#pragma once

#include "core/weekplan.h"

#include <QObject>

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
        NoConnection,     // server unreachable or host not found
        TimedOut,
        HttpStatus,       // the server answered with an error status
        PageTooLarge,
        DownloadFailed,   // any other download failure
        NoWeekLink,       // the start page holds no link to the week
        NoDaySections,    // the week page holds no day sections
        CacheNotWritten,  // the new week is shown but could not be kept
    };
    Q_ENUM(Problem)

    // The week from now on: the new sections, or, when none came in, the
    // previous week with its tags stripped again.
    WeekPlan weekPlan;
    bool sectionsFound = false;

    Problem problem = Problem::None;
    int httpStatus = 0;  // for Problem::HttpStatus
    QString cause;       // the download's or the file's own error text

    bool ok() const { return problem == Problem::None; }
};

// Downloads the start page, follows the week link, downloads the week page
// and cuts it into sections; touches no file.
FetchReport retrieveWeekPlan(const WeekSite &site, platform::InternetTransfer &transfer,
                             const WeekPlan &current);

// Retrieves the week and, when new sections came in, writes them to the
// cache file. The cache is only rewritten when new sections came in.
FetchReport fetchWeekPlan(const WeekSite &site, const QString &cachePath,
                          platform::InternetTransfer &transfer, const WeekPlan &current);

} // namespace kostwerk::core
