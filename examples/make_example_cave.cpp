// Draws the example cave's plan and profile sheets into the given folder.
#include "examples/ExampleCave.h"

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
    QTextStream out(&list);
    out << "label,plan_x,plan_y,profile_x,profile_y,branch_end\n";
    for (const Station &s : cave.stations())
        out << labelText(s) << ',' << s.PlanX << ',' << s.PlanY << ',' << s.ProfileX << ',' << s.ProfileY << ','
            << s.BranchEnd << '\n';
    return 0;
}
