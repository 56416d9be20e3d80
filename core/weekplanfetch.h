#pragma once

#include "weekplan.h"

class InternetTransfer;

// What a fetch needs of the main window.
class FetchView
{
public:
    virtual void setLoadButton(const QString &caption, bool enabled) = 0;
    virtual int selectedWeekday() const = 0;  // 0 = Montag ... 5 = Samstag
    virtual void showDay(qsizetype n) = 0;    // n = weekday index + 1

protected:
    ~FetchView() = default;
};

// The refresh button's captions: before the first fetch, during one, after.
namespace LoadButton {
inline constexpr QStringView initial = u"Daten aktualisieren";
inline constexpr QStringView busy = u"Bitte warten...";
inline constexpr QStringView done = u"Daten holen";
} // namespace LoadButton

// Why a fetch brought no new week, or why it could not be kept. Only the
// first problem met is reported; the window decides how to tell the user.
struct FetchReport
{
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

    Problem problem = Problem::None;
    int httpStatus = 0;  // for Problem::HttpStatus
    QString detail;      // the download's own error text, for the log

    bool ok() const { return problem == Problem::None; }
};

// Downloads the start page, follows the week link, downloads the week page,
// replaces the week with its sections and writes them to the cache file.
// The previous week stays when the week page has no sections; the cache is
// only rewritten when new sections came in.
FetchReport fetchWeekPlan(ProgramState &state, InternetTransfer &transfer, FetchView &view);

// A fetch followed by showing the selected weekday.
FetchReport reloadWeekPlan(ProgramState &state, InternetTransfer &transfer, FetchView &view);
