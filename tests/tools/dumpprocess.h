// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// One finished run of the real kostwerk-dump program.
struct DumpRun
{
    int exitCode = -1; // stays -1 when the program did not start or crashed
    QByteArray standardOutput;
    QByteArray standardError;
};

inline DumpRun runDump(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KOSTWERK_DUMP), arguments);
    DumpRun run;
    if (process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.standardOutput = process.readAllStandardOutput();
    run.standardError = process.readAllStandardError();
    return run;
}
