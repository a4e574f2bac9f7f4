// Entry point of speomark-export; the work is done by ExportCommand.
#include "app/ExportCommand.h"

#include <QCoreApplication>
#include <clocale>
#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Beyond a file-size limit a write then fails and is reported like a full disk, rather than
    // the signal killing the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication application(argc, argv);
    // A command-line tool's messages stay English on any desktop, the system's error texts too.
    std::setlocale(LC_MESSAGES, "C");
    QByteArray output;
    QString errors;
    int status = ExportCommand::run(QCoreApplication::arguments(), &output, &errors);
    if (!output.isEmpty()) {
        const bool written = std::fwrite(output.constData(), 1, size_t(output.size()), stdout) == size_t(output.size());
        if (std::fflush(stdout) != 0 || !written) {
            errors += QStringLiteral("speomark-export: cannot write to standard output\n");
            status = ExportCommand::Failure;
        }
    }
    if (!errors.isEmpty())
        std::fputs(errors.toLocal8Bit().constData(), stderr);
    return status;
}
