// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"
#include "platform/download.h"
#include "platform/filefailure.h"

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
// the problem names the first step that failed, and that step's own failure
// is the detail: the failed download, or why the cache could not be written.
// The window decides how to tell the user.
struct FetchReport
{
    Q_GADGET

public:
    enum class Problem {
        None,
        StartPage,       // the start page could not be downloaded: see startPage
        NoWeekLink,      // the start page holds no link to the week
        WeekPage,        // the week page could not be downloaded: see weekPage
        NoDaySections,   // the week page holds no day sections
        CacheNotWritten, // the new week is shown but could not be kept: see cacheFailure
    };
    Q_ENUM(Problem)

    // The week from now on: the new sections, or, when none came in, the
    // previous week (with its tags stripped again once a week page was
    // asked for).
    WeekPlan weekPlan;
    bool sectionsFound = false;

    Problem problem = Problem::None;
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

    // The download whose failure is the problem; nothing for other problems.
    const platform::Download *failedDownload() const
    {
        if (problem == Problem::StartPage)
            return &startPage;
        return problem == Problem::WeekPage && weekPage ? &*weekPage : nullptr;
    }
};

// Downloads the start page, follows the week link, downloads the week page
// and cuts it into sections, one download after the other while the event
// loop goes on; touches no file. Without the start page there is no telling
// which week is current, so a failed start page ends the fetch there. A
// start page without the link leads to basisURL itself.
class WeekPlanFetch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WeekPlanFetch)

public:
    enum class Step { StartPage, WeekPage };
    Q_ENUM(Step)

    // Downloads through transfer, which no one else uses meanwhile.
    explicit WeekPlanFetch(platform::InternetTransfer &transfer, QObject *parent = nullptr);
    // A fetch still running ends without a word.
    ~WeekPlanFetch() override;

    bool isRunning() const { return m_step.has_value(); }

    // Starts fetching the week of site; current is the week held now, which
    // stays when no new sections come in. stepStarted(StartPage) follows at
    // once, finished() once the fetch has ended. Nothing while a fetch runs.
    void start(const WeekSite &site, const WeekPlan &current);

    // Ends a running fetch at once: its download fails as Interrupted, and
    // finished() reports so before abort returns.
    void abort();

signals:
    // The download of step has begun.
    void stepStarted(kostwerk::core::WeekPlanFetch::Step step);
    void finished(const kostwerk::core::FetchReport &report);

private:
    void download(Step step, const QString &url);
    void pageDownloaded(const platform::Download &page);
    void finish();

    platform::InternetTransfer &m_transfer;
    std::optional<Step> m_step; // the download running; nothing between fetches
    WeekSite m_site;
    WeekPlan m_current;
    FetchReport m_report;
};

} // namespace kostwerk::core
