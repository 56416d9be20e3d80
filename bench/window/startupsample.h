#pragma once

#include <QtGlobal>

// One cold start measured in a process of its own: the time from
// constructing the main window to its first painted frame, and the peak
// resident memory of the process by then.
struct StartupSample
{
    qint64 nanoseconds = 0;
    qint64 peakBytes = 0;
};

// Kostwerk with a cached week of ordinary size; a bare QMainWindow, which
// draws no text and so never loads a font; and a QMainWindow showing one line
// of text, the least any window with text pays (the font database and a
// font engine).
enum class StartupWindow { Kostwerk, BareMainWindow, TextMainWindow };

// In the child process: builds the window, shows it, waits for its first
// paint and prints the sample. Returns the process's exit status.
int measureStartup(int argc, char **argv, StartupWindow window);

// In the benchmark process: runs program in the given mode and reads the
// sample it prints. Nothing when the child failed.
bool runStartup(const char *program, StartupWindow window, StartupSample &sample);

// The command-line word that selects each mode in the child.
const char *modeName(StartupWindow window);
