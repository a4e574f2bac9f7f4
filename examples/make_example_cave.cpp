// Draws the example cave's plan and profile sheets into the given folder.
#include "survey/CommandError.h"
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
    header.planImagePath = QStringLiteral("uchebnaya-plan.png");
    header.profileImagePath = QStringLiteral("uchebnaya-profile.png");
    header.planZoom = header.profileZoom = 0.5;
    header.planGridPixels = header.profileGridPixels = 100.0;
    header.planMetresPerPixel = header.profileMetresPerPixel = ExampleCave::MetresPerPixel;
    header.planGridPixelsEntry = header.profileGridPixelsEntry = 100.0;
    header.dataFormatIndex = 2; // Survex
    try {
        ProjectContents project;
        project.header = header;
        project.stations.assign(std::vector<Station>(cave.stations().begin(), cave.stations().end()));
        ProjectFile::write(folder + QStringLiteral("/uchebnaya.sprj"), project);
    } catch (const CommandError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }

    QTextStream out(&list);
    out << "label,plan_x,plan_y,profile_x,profile_y,branch_end\n";
    for (const Station &s : cave.stations())
        out << s.label << ',' << s.planX << ',' << s.planY << ',' << s.profileX << ',' << s.profileY << ','
            << s.branchEnd << '\n';
    return 0;
}
