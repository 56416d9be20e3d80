// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/weekplanfetch.h"

#include "core/logging.h"
#include "core/weekpage.h"
#include "platform/internettransfer.h"

#include <utility>

namespace kostwerk::core {

namespace {

using platform::Download;
using Problem = FetchReport::Problem;

// Why a week page brought no new week, in the order the steps ran.
Problem firstProblem(const FetchReport &report, const Download &weekPage)
{
    if (report.weekLink.isEmpty())
        return Problem::NoWeekLink;
    return weekPage.ok() ? Problem::NoDaySections : Problem::WeekPage;
}

} // namespace

WeekPlanFetch::WeekPlanFetch(platform::InternetTransfer &transfer, QObject *parent)
    : QObject(parent)
    , m_transfer(transfer)
{
    connect(&m_transfer, &platform::InternetTransfer::finished, this, &WeekPlanFetch::pageDownloaded);
}

WeekPlanFetch::~WeekPlanFetch()
{
    disconnect(&m_transfer, nullptr, this, nullptr);
    if (isRunning())
        m_transfer.abort();
}

void WeekPlanFetch::start(const WeekSite &site, const WeekPlan &current)
{
    if (isRunning())
        return;
    m_site = site;
    m_current = current;
    m_report = FetchReport();
    download(Step::StartPage, site.startURL);
}

void WeekPlanFetch::abort()
{
    if (isRunning())
        m_transfer.abort();
}

void WeekPlanFetch::download(Step step, const QString &url)
{
    qCInfo(lcCore) << "downloading" << url;
    m_step = step;
    // Told once the download runs, so that whoever is told can abort it.
    const bool started = m_transfer.start(url);
    emit stepStarted(step);
    // A transfer still busy with a download of someone else's yields no
    // page, like a failed download.
    if (!started && m_step == step) {
        Download busy;
        busy.url = url;
        busy.error = Download::Error::Busy;
        pageDownloaded(busy);
    }
}

void WeekPlanFetch::pageDownloaded(const Download &page)
{
    if (m_step == Step::StartPage) {
        m_report.startPage = page;
        if (!page.ok()) {
            m_report.weekPlan = m_current;
            m_report.problem = Problem::StartPage;
            qCWarning(lcCore) << "no start page:" << page.error << page.reason;
            finish();
            return;
        }
        m_report.weekLink = WeekPage::findWeekLink(page.text);
        download(Step::WeekPage, m_site.basisURL + m_report.weekLink);
    } else if (m_step == Step::WeekPage) {
        m_report.weekPage = page;
        WeekPage::Result parsed = WeekPage::parse(page.text, m_current);
        m_report.weekPlan = std::move(parsed.weekPlan);
        m_report.sectionsFound = parsed.sectionsFound;
        if (!m_report.sectionsFound) {
            m_report.problem = firstProblem(m_report, page);
            qCWarning(lcCore) << "no new week:" << m_report.problem << page.error << page.reason;
        }
        finish();
    }
}

void WeekPlanFetch::finish()
{
    m_step.reset();
    m_current = WeekPlan();
    emit finished(std::exchange(m_report, FetchReport()));
}

} // namespace kostwerk::core
