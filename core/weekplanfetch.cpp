// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekplanfetch.h"

#include "core/cachefile.h"
#include "core/logging.h"
#include "core/weekpage.h"
#include "platform/internettransfer.h"

namespace kostwerk::core {

namespace {

using platform::Download;
using Problem = FetchReport::Problem;

Problem problemOf(Download::Error error)
{
    switch (error) {
    case Download::Error::None:
        return Problem::None;
    case Download::Error::NotHttp:
        return Problem::NotHttp;
    case Download::Error::NoConnection:
        return Problem::NoConnection;
    case Download::Error::TimedOut:
        return Problem::TimedOut;
    case Download::Error::HttpStatus:
        return Problem::HttpStatus;
    case Download::Error::TooLarge:
        return Problem::PageTooLarge;
    case Download::Error::BrokenOff:
        return Problem::BrokenOff;
    case Download::Error::Busy:
    case Download::Error::Interrupted:
    case Download::Error::Failed:
        break;
    }
    return Problem::DownloadFailed;
}

// A transfer still busy with an earlier download refuses the next one, which
// then yields no page, like a failed download.
Download fetchPage(platform::InternetTransfer &transfer, const QString &url)
{
    qCInfo(lcCore) << "downloading" << url;
    return transfer.openUrl(url);
}

void reportFailedDownload(FetchReport &report, const Download &download)
{
    report.problem = problemOf(download.error);
    report.httpStatus = download.httpStatus;
    report.downloadError = download.error;
    report.reason = download.reason;
}

// Why a week page brought no new week, in the order the steps ran.
void reportFirstProblem(FetchReport &report, const Download &weekPage)
{
    if (report.weekLink.isEmpty())
        report.problem = Problem::NoWeekLink;
    else if (!weekPage.ok())
        reportFailedDownload(report, weekPage);
    else
        report.problem = Problem::NoDaySections;
}

} // namespace

FetchReport retrieveWeekPlan(const WeekSite &site, platform::InternetTransfer &transfer, const WeekPlan &current)
{
    FetchReport report;
    report.startPage = fetchPage(transfer, site.startURL);
    if (!report.startPage.ok()) {
        report.weekPlan = current;
        reportFailedDownload(report, report.startPage);
        qCWarning(lcCore) << "no start page:" << report.problem << report.reason;
        return report;
    }
    report.weekLink = WeekPage::findWeekLink(report.startPage.text);
    const Download &weekPage = report.weekPage.emplace(fetchPage(transfer, site.basisURL + report.weekLink));

    WeekPage::Result parsed = WeekPage::parse(weekPage.text, current);
    report.weekPlan = std::move(parsed.weekPlan);
    report.sectionsFound = parsed.sectionsFound;
    if (!report.sectionsFound) {
        reportFirstProblem(report, weekPage);
        qCWarning(lcCore) << "no new week:" << report.problem << report.reason;
    }
    return report;
}

FetchReport fetchWeekPlan(const WeekSite &site, const platform::PathBelow &cache, platform::InternetTransfer &transfer,
                          const WeekPlan &current)
{
    FetchReport report = retrieveWeekPlan(site, transfer, current);
    // Writing a kept week again would only add an empty line in front of
    // every section, since sections read from the cache begin with one.
    if (!report.sectionsFound)
        return report;
    const platform::WriteResult written = writeCache(cache, report.weekPlan);
    if (!written.ok()) {
        qCWarning(lcCore) << "cannot write" << cache.path() << ":" << written.failure;
        report.problem = Problem::CacheNotWritten;
        report.cacheFailure = written.failure;
        report.cacheName = cache.name;
    }
    return report;
}

} // namespace kostwerk::core
