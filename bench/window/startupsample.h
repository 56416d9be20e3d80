// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/weekplan.h"

#include <QtGlobal>

// One cold start measured in a process of its own: the time from
// constructing the main window to its first painted frame (or from choosing
// a preview to its first painted page), and the peak resident memory of the
// whole process by then.
struct StartupSample
{
    qint64 nanoseconds = 0;
    qint64 peakBytes = 0;
    qint64 longestStepNanoseconds = 0; // of a print run: the longest the window cannot answer
};

// Kostwerk with a cached week of ordinary size; a bare QMainWindow, which
// draws no text and so never loads a font; and a QMainWindow showing one line
// of text, the least any window with text pays (the font database and a
// font engine).
enum class StartupWindow { Kostwerk, BareMainWindow, TextMainWindow };

// What is timed with the cached week of a given program folder: the window
// from its construction until the day is painted, or, once the window is
// up, a print preview from the menu item until its first page is painted,
// or "Wochenplan drucken" of 99 copies into a file until the file is whole.
enum class Opening { Day, WeekOverview, PrintPreview, PrintCopies };

// In the child process: builds the window, shows it, waits for its first
// paint and prints the sample. Returns the process's exit status.
int measureStartup(int argc, char **argv, StartupWindow window);

// In the child process: the same for the program folder's week, timing the
// opening. Returns the process's exit status.
int measureOpening(int argc, char **argv, Opening opening, const char *programFolder);

// In the benchmark process: runs program in the given mode and reads the
// sample it prints. Nothing when the child failed.
bool runStartup(const char *program, StartupWindow window, StartupSample &sample);
bool runOpening(const char *program, Opening opening, const QString &programFolder, StartupSample &sample);

// Writes settings and the cache of weekPlan into programFolder.
bool prepareProgramFolder(const QString &programFolder, const kostwerk::core::WeekPlan &weekPlan);

// The command-line word that selects each mode in the child.
const char *modeName(StartupWindow window);
const char *modeName(Opening opening);
