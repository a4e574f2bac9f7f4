#include "project/ProjectContents.h"

#include "survey/NumberText.h"
#include "document/SurveyDocument.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ProjectContents)
};

ProfileKind kindOf(std::uint8_t stored)
{
    return stored == 1 ? ProfileKind::Extended : stored == 0 ? ProfileKind::None : ProfileKind::Projective;
}

std::uint8_t byteOf(ProfileKind kind)
{
    return kind == ProfileKind::Extended ? 1 : kind == ProfileKind::None ? 0 : 2;
}

} // namespace

ProjectContents ProjectContents::capture(const SurveyDocument &document, Entries entries)
{
    ProjectContents contents;
    ProjectHeader &h = contents.header;
    const ViewSettings &plan = document.view(ViewSide::Plan);
    const ViewSettings &profile = document.view(ViewSide::Profile);
    // The entry texts are converted before anything else, so a text that is not a number stops
    // the save with no file touched.
    const auto number = [&](const QString &text) {
        double value = 0.0;
        return NumberText::tryToDouble(text, &value) ? NumberText::fromDouble(value) : QStringLiteral("0");
    };
    if (entries == Entries::MustBeNumbers)
        h.setEntryTexts(plan.gridMetresEntry, plan.gridPixelsEntry, profile.gridMetresEntry, profile.gridPixelsEntry,
                        document.orientationEntry());
    else
        h.setEntryTexts(number(plan.gridMetresEntry), number(plan.gridPixelsEntry), number(profile.gridMetresEntry),
                        number(profile.gridPixelsEntry), number(document.orientationEntry()));
    contents.stations = document.stations();
    h.stationCount = document.stations().count();
    h.planImagePath = plan.imagePath;
    h.profileImagePath = profile.imagePath;
    h.planZoom = plan.zoom;
    h.profileZoom = profile.zoom;
    h.profileKind = byteOf(document.profileKind());
    h.planPaneFraction = plan.paneFraction;
    h.profilePaneFraction = profile.paneFraction;
    h.planGridPixels = plan.calibration.gridPixels;
    h.profileGridPixels = profile.calibration.gridPixels;
    h.planMetresPerPixel = plan.calibration.metresPerPixel;
    h.profileMetresPerPixel = profile.calibration.metresPerPixel;
    h.planGridShiftUp = plan.gridShiftUp;
    h.planGridShiftRight = plan.gridShiftRight;
    h.profileGridShiftUp = profile.gridShiftUp;
    h.profileGridShiftRight = profile.gridShiftRight;
    h.planGridShown = plan.gridShown;
    h.profileGridShown = profile.gridShown;
    h.showLabels = document.showLabels();
    h.showLines = document.showLines();
    h.dataFormatIndex = int(document.format());
    h.dataStyleIndex = int(document.style());
    // Only projects with a PDF sheet carry its page and resolution; others keep the fixed layout.
    if (plan.pdfPage > 0 || profile.pdfPage > 0) {
        QByteArray pages;
        QDataStream out(&pages, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint8(1) << qint32(plan.pdfPage) << qint32(plan.pdfDotsPerInch) << qint32(profile.pdfPage)
            << qint32(profile.pdfDotsPerInch);
        contents.extras.setSection(ScanPagesTag, pages);
    }
    // Without details the project stays exactly the fixed layout.
    if (!document.details().isEmpty())
        contents.extras.setSection(SurveyDetails::SectionTag, document.details().encode());
    return contents;
}

void ProjectContents::applyTo(SurveyDocument &document) const
{
    const ProjectHeader &h = header;
    document.editStations([&](StationTable &table) { table = stations; });
    const auto apply = [&](ViewSide side, const QString &path, double zoom, float fraction, double gridPixels,
                           double scale, std::int32_t shiftUp, std::int32_t shiftRight, double metresEntry,
                           double pixelsEntry, std::uint8_t gridShown) {
        document.editView(side, [&](ViewSettings &view) {
            view.imagePath = path;
            view.zoom = zoom;
            view.paneFraction = fraction;
            view.calibration.gridPixels = gridPixels;
            view.calibration.metresPerPixel = scale;
            // The up-downs hold their positions within their range.
            view.gridShiftUp = std::clamp(ProjectHeader::low16(shiftUp), -GridShiftLimit, GridShiftLimit);
            view.gridShiftRight = std::clamp(ProjectHeader::low16(shiftRight), -GridShiftLimit, GridShiftLimit);
            view.gridShown = gridShown != 0;
        });
        document.setGridEntries(side, NumberText::fromDouble(metresEntry), NumberText::fromDouble(pixelsEntry));
    };
    apply(ViewSide::Plan, h.planImagePath, h.planZoom, h.planPaneFraction, h.planGridPixels, h.planMetresPerPixel,
          h.planGridShiftUp, h.planGridShiftRight, h.planGridMetresEntry, h.planGridPixelsEntry, h.planGridShown);
    apply(ViewSide::Profile, h.profileImagePath, h.profileZoom, h.profilePaneFraction, h.profileGridPixels,
          h.profileMetresPerPixel, h.profileGridShiftUp, h.profileGridShiftRight, h.profileGridMetresEntry,
          h.profileGridPixelsEntry, h.profileGridShown);
    document.setOrientationEntry(NumberText::fromDouble(h.planOrientationEntry));
    document.setProfileKind(kindOf(h.profileKind));
    document.setShowLabels(h.showLabels != 0);
    document.setShowLines(h.showLines != 0);
    document.setFormat(SurveyFormat(h.dataFormatIndex));
    document.setStyle(SurveyStyle(h.dataStyleIndex));
    document.setDetails(details());
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const ScanPage stored = scanPage(side);
        document.editView(side, [&](ViewSettings &view) {
            view.pdfPage = stored.page;
            view.pdfDotsPerInch = stored.dotsPerInch;
        });
    }
}

Survey ProjectContents::survey() const
{
    Survey survey;
    survey.stations = stations;
    // The window reads north from its entry box, which shows the saved number with 15 digits.
    survey.sheet(PlanSheet).northDeg = ProjectHeader::reopenedEntryValue(header.planOrientationEntry);
    survey.sheet(PlanSheet).calibration = {header.planMetresPerPixel, header.planGridPixels};
    survey.sheet(ProfileSheet).calibration = {header.profileMetresPerPixel, header.profileGridPixels};
    survey.style = SurveyStyle(header.dataStyleIndex);
    survey.details = details().writable();
    survey.profileKind = kindOf(header.profileKind);
    return survey;
}

const QByteArray ProjectContents::ScanPagesTag = QByteArrayLiteral("PAGE");

ProjectContents::ScanPage ProjectContents::scanPage(ViewSide side) const
{
    QDataStream in(extras.section(ScanPagesTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    qint32 values[4] = {0, 0, 0, 0};
    in >> version >> values[0] >> values[1] >> values[2] >> values[3];
    // A later version may add to the end; one cut short or out of range says nothing.
    const int at = side == ViewSide::Plan ? 0 : 2;
    if (in.status() != QDataStream::Ok || version < 1 || values[at] < 1 || values[at + 1] < 1 || values[at + 1] > 4800)
        return ScanPage();
    return ScanPage{values[at], values[at + 1]};
}

const QByteArray ProjectContents::ScanPlacesTag = QByteArrayLiteral("SCNR");

void ProjectContents::rememberScansRelativeTo(const QString &projectPath)
{
    const QDir folder = QFileInfo(projectPath).absoluteDir();
    const auto relative = [&](const QString &stored) {
        return stored.isEmpty() ? QString() : folder.relativeFilePath(QFileInfo(stored).absoluteFilePath());
    };
    const QString plan = relative(header.planImagePath);
    const QString profile = relative(header.profileImagePath);
    extras.removeSection(ScanPlacesTag);
    if (plan.isEmpty() && profile.isEmpty())
        return; // a project without scans stays exactly the fixed layout
    QByteArray places;
    QDataStream out(&places, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint8(1) << plan << profile;
    extras.setSection(ScanPlacesTag, places);
}

QString ProjectContents::scanRelativePath(ViewSide side) const
{
    QDataStream in(extras.section(ScanPlacesTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    QString places[2];
    in >> version >> places[0] >> places[1];
    // A later version may add to the end; one that cannot be read says nothing.
    if (in.status() != QDataStream::Ok || version < 1)
        return QString();
    return places[side == ViewSide::Plan ? 0 : 1];
}

QString ProjectContents::scanPath(ViewSide side, const QString &projectPath) const
{
    const QString &stored = side == ViewSide::Plan ? header.planImagePath : header.profileImagePath;
    if (stored.isEmpty() || QFileInfo::exists(stored))
        return stored;
    const QDir folder = QFileInfo(projectPath).absoluteDir();
    const QString relative = scanRelativePath(side);
    if (!relative.isEmpty() && QFileInfo::exists(folder.filePath(relative)))
        return QDir::cleanPath(folder.filePath(relative));
    // Projects travel with their drawings beside them; a name written on Windows may use
    // backslashes.
    const qsizetype start = std::max(stored.lastIndexOf(QChar('/')), stored.lastIndexOf(QChar('\\'))) + 1;
    const QString beside = folder.filePath(stored.mid(start));
    return QFileInfo::exists(beside) ? beside : stored;
}

SurveyDetails ProjectContents::details() const
{
    QString problem;
    return SurveyDetails::decode(extras.section(SurveyDetails::SectionTag), &problem);
}

QString ProjectContents::detailsProblem() const
{
    if (!extras.has(SurveyDetails::SectionTag))
        return QString();
    QString problem;
    const SurveyDetails kept = SurveyDetails::decode(extras.section(SurveyDetails::SectionTag), &problem);
    if (problem.isEmpty())
        return QString();
    if (!kept.isEmpty())
        return Words::tr("The project's survey details cannot go into survey files as they stand: %1. They are "
                         "kept in the project; survey files are written without them until they are put right in "
                         "File > Survey Details.")
            .arg(problem);
    return Words::tr("The project's survey details cannot be read: %1. The stations and settings were read; "
                     "the details are left empty.")
        .arg(problem);
}
