// Draws the example cave's plan and profile sheets into the given folder.
#include "examples/ExampleCave.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    const ExampleCave cave;
    if (!cave.planSheet().save(folder + QStringLiteral("/uchebnaya-plan.png"))
        || !cave.profileSheet().save(folder + QStringLiteral("/uchebnaya-profile.png"))) {
        std::fprintf(stderr, "cannot write the sheets into %s\n", qPrintable(folder));
        return 1;
    }
    return 0;
}
