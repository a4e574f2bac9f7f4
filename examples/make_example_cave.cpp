// Draws the example cave's plan and profile sheets into the given folder.
#include "survey/CommandError.h"
#include "examples/ExampleCave.h"
#include "project/ProjectFile.h"
#include "survey/NumberText.h"

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
        project.keepDimensions();
        ProjectFile::write(folder + QStringLiteral("/uchebnaya.sprj"), project);
    } catch (const CommandError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }

    // The same cave over five sheets (three of the plan, two of the profile), each at a scale and
    // a north of its own, digitised with ties where its traverses cross from sheet to sheet.
    const ExampleCave::Sheets several = cave.overSeveralSheets();
    std::vector<ViewSettings> sheets;
    for (int i = 0; i < several.sheets.size(); ++i) {
        const ExampleCave::Sheet &sheet = several.sheets[i];
        const QString name = QStringLiteral("uchebnaya-sheet-%1.png").arg(i + 1);
        if (!sheet.image.save(folder + QLatin1Char('/') + name)) {
            std::fprintf(stderr, "cannot write the sheets into %s\n", qPrintable(folder));
            return 1;
        }
        ViewSettings view;
        view.id = i;
        view.kind = sheet.plan ? SheetKind::Plan : SheetKind::Profile;
        view.name = sheet.name;
        view.imagePath = name;
        view.calibration = {sheet.metresPerPixel, 10.0 / sheet.metresPerPixel};
        view.gridMetresEntry = QStringLiteral("10");
        view.gridPixelsEntry = NumberText::fromDouble(10.0 / sheet.metresPerPixel);
        view.north = TypedDegrees::of(sheet.northDeg);
        view.zoom = 0.5;
        sheets.push_back(view);
    }
    try {
        SurveyDocument document;
        document.setSheets(sheets);
        document.editStations([&](StationTable &table) {
            table.assign(std::vector<Station>(several.stations.begin(), several.stations.end()));
        });
        document.setFormat(SurveyFormat::Survex);
        ProjectFile::write(folder + QStringLiteral("/uchebnaya-sheets.sprj"), ProjectContents::capture(document));
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
