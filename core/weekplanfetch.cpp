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

// A transfer still busy with an earlier download refuses the next one, which
// then yields no page, like a failed download.
Download fetchPage(platform::InternetTransfer &transfer, const QString &url)
{
    qCInfo(lcCore) << "downloading" << url;
    return transfer.openUrl(url);
}

// Why a week page brought no new week, in the order the steps ran.
void reportFirstProblem(FetchReport &report, const Download &weekPage)
{
    if (report.weekLink.isEmpty())
        report.problem = Problem::NoWeekLink;
    else if (!weekPage.ok())
        report.problem = Problem::WeekPage;
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
        report.problem = Problem::StartPage;
        qCWarning(lcCore) << "no start page:" << report.startPage.error << report.startPage.reason;
        return report;
    }
    report.weekLink = WeekPage::findWeekLink(report.startPage.text);
    const Download &weekPage = report.weekPage.emplace(fetchPage(transfer, site.basisURL + report.weekLink));

    WeekPage::Result parsed = WeekPage::parse(weekPage.text, current);
    report.weekPlan = std::move(parsed.weekPlan);
    report.sectionsFound = parsed.sectionsFound;
    if (!report.sectionsFound) {
        reportFirstProblem(report, weekPage);
        qCWarning(lcCore) << "no new week:" << report.problem << weekPage.error << weekPage.reason;
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
