#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The speomark-export command: writes the survey data text of a project file, exactly the bytes
// the window's Save writes for that project, to standard output or to a file; or, with --format
// csv, every leg with the check's numbers; or, with --check, the survey check's report. Exit
// codes: 0 done (and, with --check, nothing flagged), 1 the project or a leg could not be used or
// the output not written (nothing written then), 2 wrong usage, 3 the check flagged something
// (the report is written).
class ExportCommand
{
public:
    static constexpr int Success = 0;
    static constexpr int Failure = 1;
    static constexpr int UsageError = 2;
    static constexpr int Flagged = 3;

    // arguments include the program name, as QCoreApplication::arguments() gives them.
    // What belongs on standard output is put in standardOutput (empty unless the result is 0
    // or 3 and no output file was named); messages for standard error in standardError.
    static int run(const QStringList &arguments, QByteArray *standardOutput, QString *standardError);

    static QString usageLine();
};
