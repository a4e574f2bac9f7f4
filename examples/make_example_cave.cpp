// Draws the example cave's plan and profile sheets into the given folder.
#include "app/CommandError.h"
#include "examples/ExampleCave.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
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
    // Where each station lies on the two sheets, for scripts that digitise the cave by clicking.
    QFile list(folder + QStringLiteral("/uchebnaya-stations.csv"));
    if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write the station list into %s\n", qPrintable(folder));
        return 1;
    }
    // The finished project: both sheets calibrated at 10 m per 100 pixels, every station placed.
    // Image paths are bare file names, so the program finds the sheets beside the project
    // wherever the repository is cloned.
    ProjectHeader header;
    header.StationCount = int(cave.stations().size());
    header.PlanImageFileName = QStringLiteral("uchebnaya-plan.png");
    header.ProfileImageFileName = QStringLiteral("uchebnaya-profile.png");
    header.PlanZoom = header.ProfileZoom = 0.5;
    header.PlanGridPixels = header.ProfileGridPixels = 100.0;
    header.PlanMetresPerPixel = header.ProfileMetresPerPixel = ExampleCave::MetresPerPixel;
    header.PlanGridPixelsEntry = header.ProfileGridPixelsEntry = 100.0;
    header.DataFormatIndex = 2; // Survex
    try {
        ProjectFile::write(folder + QStringLiteral("/uchebnaya.sprj"), header, cave.stations().data());
    } catch (const CommandError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }

    QTextStream out(&list);
    out << "label,plan_x,plan_y,profile_x,profile_y,branch_end\n";
    for (const Station &s : cave.stations())
        out << labelText(s) << ',' << s.PlanX << ',' << s.PlanY << ',' << s.ProfileX << ',' << s.ProfileY << ','
            << s.BranchEnd << '\n';
    return 0;
}
