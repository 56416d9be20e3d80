// SPDX-License-Identifier: GPL-3.0-or-later

// The page pipeline (clean, cut, strip) on generated week pages and on
// hostile pages made of one pattern repeated a million times.

#include "bench/support/peakmemory.h"
#include "bench/support/weekpagegenerator.h"
#include "core/dayview.h"
#include "core/weekdays.h"
#include "core/weekpage.h"
#include "platform/ansicodepage.h"
#include "platform/pagedecoding.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kostwerk::core;
using namespace kostwerk::bench;

namespace {

using WeekPageGenerator::KiB;
using WeekPageGenerator::MiB;

void measureParse(benchmark::State &state, const QString &page)
{
    state.SetLabel("sections: " + std::to_string(WeekPage::parse(page, WeekPlan()).weekPlan.size()));
    const PeakMemory peak;
    for (auto _ : state) {
        WeekPage::Result result = WeekPage::parse(page, WeekPlan());
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * page.size());
    peak.report(state);
}

void pipeline_weekPage(benchmark::State &state, qsizetype size)
{
    const QString page = WeekPageGenerator::weekPage(size);
    // A page that does not come out as a week would measure the wrong work.
    const WeekPlan weekPlan = WeekPage::parse(page, WeekPlan()).weekPlan;
    const DayView saturday = dayViewOf(weekPlan, Weekdays::count).value_or(DayView{});
    if (weekPlan.size() <= Weekdays::count || saturday[Category::MenuOne].isEmpty()
        || saturday[Category::Dinner].isEmpty()) {
        state.SkipWithError("the generated page is not a week");
        return;
    }
    measureParse(state, page);
}

void pipeline_hostilePage(benchmark::State &state, QStringView unit)
{
    // Ten characters per unit: a million of them make ten megabytes.
    measureParse(state, WeekPageGenerator::hostilePage(unit, 10 * MiB / unit.size()));
}

// The three steps of the pipeline one by one, each on what the step before
// made of a week page, to show where the time of the whole goes.
void pipeline_clean(benchmark::State &state, qsizetype size)
{
    const QString page = WeekPageGenerator::weekPage(size);
    const PeakMemory peak;
    for (auto _ : state) {
        QString cleaned = WeekPage::cleanPage(page);
        benchmark::DoNotOptimize(cleaned);
    }
    state.SetBytesProcessed(state.iterations() * page.size());
    peak.report(state);
}

void pipeline_cut(benchmark::State &state, qsizetype size)
{
    const QString cleaned = WeekPage::cleanPage(WeekPageGenerator::weekPage(size));
    const PeakMemory peak;
    for (auto _ : state) {
        QStringList sections = WeekPage::cutSections(cleaned);
        benchmark::DoNotOptimize(sections);
    }
    state.SetBytesProcessed(state.iterations() * cleaned.size());
    peak.report(state);
}

void pipeline_strip(benchmark::State &state, qsizetype size)
{
    const QStringList sections = WeekPage::cutSections(WeekPage::cleanPage(WeekPageGenerator::weekPage(size)));
    qsizetype bytes = 0;
    for (const QString &section : sections)
        bytes += section.size();
    const PeakMemory peak;
    for (auto _ : state) {
        for (const QString &section : sections) {
            QString text = WeekPage::stripTags(section);
            benchmark::DoNotOptimize(text);
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    peak.report(state);
}

// The bytes of a downloaded week page under a UTF-8 label, as large as a
// download may be.
enum class PageBytes {
    Utf8,
    Windows1252,        // every umlaut a byte that starts no UTF-8 sequence
    Utf8WithStrayBytes, // a Windows-1252 "€" (0x80) at every line's end
};

void pipeline_decode(benchmark::State &state, PageBytes kind)
{
    const QString page = WeekPageGenerator::weekPage(16 * MiB);
    QByteArray bytes = kind == PageBytes::Windows1252 ? kostwerk::platform::AnsiCodePage::encode(page) : page.toUtf8();
    if (kind == PageBytes::Utf8WithStrayBytes)
        bytes.replace("\r\n", "\x80\r\n");
    bytes.truncate(16 * MiB);
    const QByteArray contentType = "text/html; charset=utf-8";
    const PeakMemory peak;
    for (auto _ : state) {
        kostwerk::platform::DecodedPage decoded = kostwerk::platform::decodePage(bytes, contentType);
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    peak.report(state);
}

} // namespace

BENCHMARK_CAPTURE(pipeline_decode, utf8, PageBytes::Utf8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_decode, windows1252, PageBytes::Windows1252)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_decode, utf8WithStrayBytes, PageBytes::Utf8WithStrayBytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_CAPTURE(pipeline_weekPage, 50KiB, 50 * KiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_weekPage, 1MiB, 1 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_weekPage, 10MiB, 10 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_CAPTURE(pipeline_hostilePage, millionTags, u"<i>Suppe. ")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_hostilePage, millionOpenBrackets, u"Preis < 3 ")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(pipeline_hostilePage, millionHeadings, u"<h2>Essen ")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_hostilePage, millionEntities, u"&amp;Kost ")->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_CAPTURE(pipeline_clean, 1MiB, 1 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_clean, 10MiB, 10 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_cut, 1MiB, 1 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_cut, 10MiB, 10 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_strip, 1MiB, 1 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(pipeline_strip, 10MiB, 10 * MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
