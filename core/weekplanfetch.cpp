#include "weekplanfetch.h"

#include "cachefile.h"
#include "internettransfer.h"
#include "weekpage.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcFetch, "kostwerk.fetch")

namespace {

using Problem = FetchReport::Problem;

FetchReport reportOf(const Download &download)
{
    switch (download.error) {
    case Download::Error::None:
        return {};
    case Download::Error::NoConnection:
        return {Problem::NoConnection, 0, download.detail};
    case Download::Error::TimedOut:
        return {Problem::TimedOut, 0, download.detail};
    case Download::Error::HttpStatus:
        return {Problem::HttpStatus, download.httpStatus, download.detail};
    case Download::Error::TooLarge:
        return {Problem::PageTooLarge, 0, download.detail};
    case Download::Error::Failed:
        break;
    }
    return {Problem::DownloadFailed, 0, download.detail};
}

// A busy transfer component yields no page, like a failed download.
Download downloadUnlessBusy(InternetTransfer &transfer, const QString &url)
{
    if (transfer.stillExecuting()) {
        qCWarning(lcFetch) << "transfer still busy, skipping" << url;
        return {QString(), Download::Error::Failed, 0, QStringLiteral("busy")};
    }
    qCInfo(lcFetch) << "downloading" << url;
    return transfer.openUrl(url);
}

// Why no new week came in, in the order the steps ran.
FetchReport firstProblem(const Download &startPage, const QString &link, const Download &weekPage)
{
    if (!startPage.ok())
        return reportOf(startPage);
    if (link.isEmpty())
        return {Problem::NoWeekLink, 0, {}};
    if (!weekPage.ok())
        return reportOf(weekPage);
    return {Problem::NoDaySections, 0, {}};
}

} // namespace

FetchReport fetchWeekPlan(ProgramState &state, InternetTransfer &transfer, FetchView &view)
{
    view.setLoadButton(LoadButton::busy.toString(), false);

    const Download startPage = downloadUnlessBusy(transfer, state.settings.startURL);
    const QString link = WeekPage::findWeekLink(startPage.text);
    const Download weekPage = downloadUnlessBusy(transfer, state.settings.basisURL + link);

    view.setLoadButton(LoadButton::done.toString(), true);
    state.dataLoaded = true;

    WeekPage::Result parsed = WeekPage::parse(weekPage.text, state.weekPlan);
    state.weekPlan = std::move(parsed.weekPlan);
    if (!parsed.sectionsFound) {
        // Writing the kept week again would only add an empty line in front
        // of every section, since sections read from the cache begin with one.
        const FetchReport report = firstProblem(startPage, link, weekPage);
        qCWarning(lcFetch) << "no new week:" << static_cast<int>(report.problem) << report.detail;
        return report;
    }
    if (!writeCache(state.settings.cachePath(), state.weekPlan)) {
        qCWarning(lcFetch) << "cannot write" << state.settings.cachePath();
        return {Problem::CacheNotWritten, 0, state.settings.cachePath()};
    }
    return {};
}

FetchReport reloadWeekPlan(ProgramState &state, InternetTransfer &transfer, FetchView &view)
{
    const FetchReport report = fetchWeekPlan(state, transfer, view);
    view.showDay(view.selectedWeekday() + 1);
    return report;
}
