#include "project/ProjectContents.h"

#include "survey/AnsiText.h"
#include "survey/NumberText.h"
#include "document/SurveyDocument.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <cmath>

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

const QByteArray ProjectContents::SheetsTag = QByteArrayLiteral("SHTS");
const QByteArray ProjectContents::StationSheetsTag = QByteArrayLiteral("STSH");

namespace {

struct ListedSheet
{
    ViewSettings settings;
    QString relativePath;
};

// The sheets of the block; none when it has none or they cannot be read, and then *problem says
// what is damaged.
std::vector<ListedSheet> listedSheets(const ProjectExtras &extras, QString *problem = nullptr)
{
    QString ignored;
    QString &why = problem ? *problem : ignored;
    why.clear();
    if (!extras.has(ProjectContents::SheetsTag))
        return {};
    QDataStream in(extras.section(ProjectContents::SheetsTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    qint32 count = 0;
    in >> version >> count;
    if (in.status() != QDataStream::Ok || version < 1) {
        why = Words::tr("the sheet list is cut short");
        return {};
    }
    if (count < 2 || count > Limits::MaxSheets) {
        why = Words::tr("the sheet list gives %1 sheets, where a project has 2 to %2").arg(count).arg(Limits::MaxSheets);
        return {};
    }
    std::vector<ListedSheet> sheets;
    for (qint32 i = 0; i < count; ++i) {
        ListedSheet listed;
        ViewSettings &sheet = listed.settings;
        qint32 id = 0, page = 0, dpi = 0, shiftRight = 0, shiftUp = 0;
        quint8 kind = 0;
        QString north;
        in >> id >> kind >> sheet.name >> sheet.imagePath >> page >> dpi >> sheet.calibration.metresPerPixel
            >> sheet.calibration.gridPixels >> sheet.gridMetresEntry >> sheet.gridPixelsEntry >> north
            >> sheet.zoom >> sheet.paneFraction >> shiftRight >> shiftUp >> sheet.gridShown >> listed.relativePath;
        sheet.north = TypedDegrees(north);
        const auto number = [](const QString &text) { return text.size() > 40 ? text.left(37) + QStringLiteral("...") : text; };
        const int n = i + 1;
        if (in.status() != QDataStream::Ok)
            why = Words::tr("the sheet list ends within sheet %1 of %2").arg(n).arg(count);
        else if (id < 0 || kind > 1)
            why = Words::tr("sheet %1 has the id %2 and kind %3, which no project has").arg(n).arg(id).arg(kind);
        else if (!std::isfinite(sheet.zoom) || sheet.zoom < ProjectHeader::MinFileZoom || sheet.zoom > ProjectHeader::MaxFileZoom
                 || !std::isfinite(sheet.paneFraction))
            why = Words::tr("sheet %1's zoom or pane width is out of range").arg(n);
        else if (!Limits::scaleAllowed(sheet.calibration.metresPerPixel) || !(sheet.calibration.gridPixels > 0.0)
                 || !std::isfinite(sheet.calibration.gridPixels))
            why = Words::tr("sheet %1's scale is out of range").arg(n);
        else if (!sheet.north.isNumber())
            why = Words::tr("sheet %1's north \"%2\" is not a number").arg(n).arg(number(north));
        else if (std::any_of(sheets.begin(), sheets.end(), [&](const ListedSheet &s) { return s.settings.id == id; }))
            why = Words::tr("two sheets have the id %1").arg(id);
        if (!why.isEmpty())
            return {};
        sheet.id = id;
        sheet.kind = kind == 0 ? SheetKind::Plan : SheetKind::Profile;
        sheet.pdfPage = std::max(0, page);
        sheet.pdfDotsPerInch = std::max(0, dpi);
        sheet.gridShiftRight = std::clamp(int(shiftRight), -GridShiftLimit, GridShiftLimit);
        sheet.gridShiftUp = std::clamp(int(shiftUp), -GridShiftLimit, GridShiftLimit);
        sheets.push_back(std::move(listed));
    }
    for (const SheetKind kind : {SheetKind::Plan, SheetKind::Profile}) {
        if (std::none_of(sheets.begin(), sheets.end(), [&](const ListedSheet &s) { return s.settings.kind == kind; })) {
            why = kind == SheetKind::Plan ? Words::tr("the sheet list has no plan sheet")
                                          : Words::tr("the sheet list has no profile sheet");
            return {};
        }
    }
    return sheets;
}

QByteArray encodeSheets(const std::vector<ViewSettings> &sheets, const QStringList &relativePaths)
{
    QByteArray listed;
    QDataStream out(&listed, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint8(1) << qint32(sheets.size());
    for (size_t i = 0; i < sheets.size(); ++i) {
        const ViewSettings &sheet = sheets[i];
        out << qint32(sheet.id) << quint8(sheet.kind == SheetKind::Plan ? 0 : 1) << sheet.name << sheet.imagePath
            << qint32(sheet.pdfPage) << qint32(sheet.pdfDotsPerInch) << sheet.calibration.metresPerPixel
            << sheet.calibration.gridPixels << sheet.gridMetresEntry << sheet.gridPixelsEntry << sheet.north.text()
            << sheet.zoom << sheet.paneFraction << qint32(sheet.gridShiftRight) << qint32(sheet.gridShiftUp)
            << sheet.gridShown << relativePaths.value(qsizetype(i));
    }
    return listed;
}

// Version 1: the count of stations listed, then each as its table entry, a byte of which values
// follow (1 left, 2 right, 4 up, 8 down) and those values as doubles. A later version may add to
// the end.
QByteArray encodeDimensions(const StationTable &stations)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    qint32 listed = 0;
    for (int i = 0; i < stations.count(); ++i)
        listed += stations.at(i).dimensions.isEmpty() ? 0 : 1;
    if (listed == 0)
        return QByteArray();
    out << quint8(1) << listed;
    for (int i = 0; i < stations.count(); ++i) {
        const PassageDimensions &d = stations.at(i).dimensions;
        if (d.isEmpty())
            continue;
        const std::optional<double> values[4] = {d.left, d.right, d.up, d.down};
        quint8 known = 0;
        for (int k = 0; k < 4; ++k)
            known |= values[k] ? quint8(1u << k) : quint8(0);
        out << qint32(i) << known;
        for (const std::optional<double> &value : values) {
            if (value)
                out << *value;
        }
    }
    return bytes;
}

// The dimensions of the section for a table of `count` entries; false when the section is cut
// short or holds what no saved project holds (an entry out of the table or listed twice, a value
// that is not finite or beyond the limit).
bool decodeDimensions(const QByteArray &section, int count, std::vector<PassageDimensions> *dimensions,
                      QList<int> *negative = nullptr)
{
    dimensions->assign(size_t(count), PassageDimensions());
    QDataStream in(section);
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    qint32 listed = 0;
    in >> version >> listed;
    if (in.status() != QDataStream::Ok || version < 1 || listed < 1 || listed > count)
        return false;
    std::vector<bool> seen(size_t(count), false);
    for (qint32 n = 0; n < listed; ++n) {
        qint32 index = -1;
        quint8 known = 0;
        in >> index >> known;
        if (in.status() != QDataStream::Ok || index < 0 || index >= count || seen[size_t(index)] || known == 0
            || known > 15)
            return false;
        seen[size_t(index)] = true;
        PassageDimensions &d = (*dimensions)[size_t(index)];
        std::optional<double> *values[4] = {&d.left, &d.right, &d.up, &d.down};
        for (int k = 0; k < 4; ++k) {
            if (!(known & (1u << k)))
                continue;
            double value = 0.0;
            in >> value;
            // A negative value (a hand-edited file, an older program) is left unknown and reported,
            // rather than costing the station's other values or the whole section.
            if (value < 0.0 && value >= -Limits::MaxPassageMetres) {
                if (negative && !negative->contains(index))
                    negative->append(index);
                continue;
            }
            *values[k] = value;
        }
        if (in.status() != QDataStream::Ok || !d.allowed())
            return false;
    }
    return true;
}

// Where a scan is: its stored path when it is there, else the same place relative to the
// project, else a file of that name beside the project, else the stored path.
QString locatedScan(const QString &stored, const QString &relative, const QString &projectPath)
{
    if (stored.isEmpty() || projectPath.isEmpty() || QFileInfo::exists(stored))
        return stored;
    const QDir folder = QFileInfo(projectPath).absoluteDir();
    if (!relative.isEmpty() && QFileInfo::exists(folder.filePath(relative)))
        return QDir::cleanPath(folder.filePath(relative));
    // A name written on Windows may use backslashes.
    const qsizetype start = std::max(stored.lastIndexOf(QChar('/')), stored.lastIndexOf(QChar('\\'))) + 1;
    const QString beside = folder.filePath(stored.mid(start));
    return QFileInfo::exists(beside) ? beside : stored;
}

} // namespace

ProjectContents ProjectContents::capture(const SurveyDocument &document, Entries entries)
{
    ProjectContents contents;
    ProjectHeader &h = contents.header;
    // The header holds the first plan and profile sheet.
    const ViewSettings &plan = document.sheet(document.sheetsOf(SheetKind::Plan).front());
    const ViewSettings &profile = document.sheet(document.sheetsOf(SheetKind::Profile).front());
    // The entry texts are converted before anything else, so a text that is not a number stops
    // the save with no file touched.
    const auto number = [&](const QString &text) {
        double value = 0.0;
        return NumberText::tryToDouble(text, &value) ? NumberText::fromDouble(value) : QStringLiteral("0");
    };
    if (entries == Entries::MustBeNumbers)
        h.setEntryTexts(plan.gridMetresEntry, plan.gridPixelsEntry, profile.gridMetresEntry, profile.gridPixelsEntry,
                        plan.north.text());
    else
        h.setEntryTexts(number(plan.gridMetresEntry), number(plan.gridPixelsEntry), number(profile.gridMetresEntry),
                        number(profile.gridPixelsEntry),
                        plan.north.isNumber() ? NumberText::fromDouble(*plan.north.degrees()) : QStringLiteral("0"));
    contents.stations = document.stations();
    h.stationCount = document.stations().count();
    // A scan path the header's Windows-1251 field cannot hold (another alphabet, more than 259
    // bytes) is kept whole in the optional block; the field gets the file's name where that fits,
    // so older readers find a scan beside the project.
    h.planImagePath = plan.imagePath;
    h.profileImagePath = profile.imagePath;
    contents.fitPaths();
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
    // An azimuth left at 0 keeps the fixed layout, and reads back as 0.
    if (document.projectionAzimuthEntry() != QLatin1String("0")) {
        QByteArray projection;
        QDataStream out(&projection, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint8(1) << document.projectionAzimuthEntry();
        contents.extras.setSection(ProjectionTag, projection);
    }
    const QByteArray dimensions = encodeDimensions(document.stations());
    if (!dimensions.isEmpty())
        contents.extras.setSection(DimensionsTag, dimensions);
    // Without details the project stays exactly the fixed layout.
    if (!document.details().isEmpty())
        contents.extras.setSection(SurveyDetails::SectionTag, document.details().encode());
    // A project of more than one sheet of a kind, or of named sheets, lists its sheets in the
    // block; one of a plan and a profile keeps the fixed layout.
    const std::vector<ViewSettings> &sheets = document.sheets();
    const bool twoSheets = sheets.size() == 2 && plan.id == PlanSheet && profile.id == ProfileSheet
        && plan.name.isEmpty() && profile.name.isEmpty();
    if (!twoSheets) {
        // Every sheet's entries are numbers in the list, or the list would not read back.
        std::vector<ViewSettings> listed = sheets;
        for (ViewSettings &sheet : listed) {
            for (QString *entry : {&sheet.gridMetresEntry, &sheet.gridPixelsEntry}) {
                if (entries == Entries::MustBeNumbers)
                    NumberText::toDouble(*entry);
                else
                    *entry = number(*entry);
            }
            if (entries == Entries::MustBeNumbers)
                sheet.north.required();
            else
                sheet.north = sheet.north.isNumber() ? TypedDegrees::of(*sheet.north.degrees()) : TypedDegrees();
        }
        contents.extras.setSection(SheetsTag, encodeSheets(listed, QStringList()));
        QByteArray onSheets;
        QDataStream stations(&onSheets, QIODevice::WriteOnly);
        stations.setVersion(QDataStream::Qt_6_0);
        stations << quint8(1) << qint32(document.stations().count());
        for (int i = 0; i < document.stations().count(); ++i)
            stations << qint32(document.stations().at(i).planSheet) << qint32(document.stations().at(i).profileSheet);
        contents.extras.setSection(StationSheetsTag, onSheets);
        h.planZoom = 0.0; // see SheetsTag
        h.profileZoom = 0.0;
    }
    return contents;
}





QString ProjectContents::sheetsProblem() const
{
    if (!hasSheets())
        return QString();
    QString problem;
    const std::vector<ListedSheet> all = listedSheets(extras, &problem);
    if (!problem.isEmpty())
        return problem;
    QDataStream in(extras.section(StationSheetsTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    qint32 count = 0;
    in >> version >> count;
    if (in.status() != QDataStream::Ok || version < 1)
        return Words::tr("the list of each station's sheets is missing or cut short");
    if (count != stations.count())
        return Words::tr("the list of each station's sheets names %1 stations, the project holds %2")
            .arg(count)
            .arg(stations.count());
    const auto known = [&](qint32 id, SheetKind kind) {
        return std::any_of(all.begin(), all.end(),
                           [&](const ListedSheet &s) { return s.settings.id == id && s.settings.kind == kind; });
    };
    for (int i = 0; i < count; ++i) {
        qint32 plan = 0, profile = 0;
        in >> plan >> profile;
        if (in.status() != QDataStream::Ok)
            return Words::tr("the list of each station's sheets ends at station %1 of %2").arg(i + 1).arg(count);
        if (!known(plan, SheetKind::Plan) || !known(profile, SheetKind::Profile))
            return Words::tr("station %1 is on sheets %2 and %3, which the sheet list does not have as a plan and a "
                             "profile")
                .arg(i + 1)
                .arg(plan)
                .arg(profile);
    }
    return QString();
}

std::vector<ViewSettings> ProjectContents::sheets() const
{
    std::vector<ViewSettings> sheets;
    for (ListedSheet &listed : listedSheets(extras))
        sheets.push_back(std::move(listed.settings));
    if (!sheets.empty())
        return sheets;
    const ProjectHeader &h = header;
    const auto fromHeader = [&](SheetId id, SheetKind kind, const QString &path, double zoom, float fraction,
                                double gridPixels, double scale, std::int32_t shiftUp, std::int32_t shiftRight,
                                double metresEntry, double pixelsEntry, std::uint8_t gridShown, ScanPage page) {
        ViewSettings view;
        view.id = id;
        view.kind = kind;
        view.imagePath = path;
        view.zoom = zoom;
        view.paneFraction = fraction;
        view.calibration = {scale, gridPixels};
        // The up-downs hold their positions within their range.
        view.gridShiftUp = std::clamp(ProjectHeader::low16(shiftUp), -GridShiftLimit, GridShiftLimit);
        view.gridShiftRight = std::clamp(ProjectHeader::low16(shiftRight), -GridShiftLimit, GridShiftLimit);
        view.gridShown = gridShown != 0;
        view.gridMetresEntry = NumberText::fromDouble(metresEntry);
        view.gridPixelsEntry = NumberText::fromDouble(pixelsEntry);
        view.pdfPage = page.page;
        view.pdfDotsPerInch = page.dotsPerInch;
        return view;
    };
    sheets.push_back(fromHeader(PlanSheet, SheetKind::Plan, h.planImagePath, h.planZoom, h.planPaneFraction,
                                h.planGridPixels, h.planMetresPerPixel, h.planGridShiftUp, h.planGridShiftRight,
                                h.planGridMetresEntry, h.planGridPixelsEntry, h.planGridShown, scanPage(ViewSide::Plan)));
    sheets.push_back(fromHeader(ProfileSheet, SheetKind::Profile, h.profileImagePath, h.profileZoom,
                                h.profilePaneFraction, h.profileGridPixels, h.profileMetresPerPixel,
                                h.profileGridShiftUp, h.profileGridShiftRight, h.profileGridMetresEntry,
                                h.profileGridPixelsEntry, h.profileGridShown, scanPage(ViewSide::Profile)));
    sheets.front().north = TypedDegrees::of(h.planOrientationEntry);
    return sheets;
}

void ProjectContents::applyTo(SurveyDocument &document, const QString &projectPath) const
{
    const ProjectHeader &h = header;
    std::vector<ViewSettings> all = sheets();
    // Further sheets' scans, where a folder moved with the project put them.
    const std::vector<ListedSheet> listed = listedSheets(extras);
    for (size_t i = 0; i < listed.size() && i < all.size(); ++i)
        all[i].imagePath = locatedScan(all[i].imagePath, listed[i].relativePath, projectPath);
    StationTable table = stations;
    // Each station's sheets, where the project has several.
    QDataStream in(extras.section(StationSheetsTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    qint32 count = 0;
    in >> version >> count;
    if (hasSheets() && in.status() == QDataStream::Ok && version >= 1 && count == table.count()) {
        const auto known = [&](qint32 id, SheetKind kind) {
            return std::any_of(all.begin(), all.end(), [&](const ViewSettings &s) { return s.id == id && s.kind == kind; });
        };
        for (int i = 0; i < count; ++i) {
            qint32 plan = 0, profile = 0;
            in >> plan >> profile;
            if (in.status() == QDataStream::Ok && known(plan, SheetKind::Plan) && known(profile, SheetKind::Profile)) {
                table.at(i).planSheet = plan;
                table.at(i).profileSheet = profile;
            }
        }
    }
    std::vector<PassageDimensions> dimensions;
    if (extras.has(DimensionsTag) && decodeDimensions(extras.section(DimensionsTag), table.count(), &dimensions)) {
        for (int i = 0; i < table.count(); ++i)
            table.at(i).dimensions = dimensions[size_t(i)];
    }
    document.setSheets(std::move(all));
    document.editStations([&](StationTable &t) { t = table; });
    document.setProfileKind(kindOf(h.profileKind));
    document.setProjectionAzimuthEntry(projectionAzimuthEntry());
    document.setShowLabels(h.showLabels != 0);
    document.setShowLines(h.showLines != 0);
    document.setFormat(SurveyFormat(h.dataFormatIndex));
    document.setStyle(SurveyStyle(h.dataStyleIndex));
    document.setDetails(details());
}

Survey ProjectContents::survey() const
{
    SurveyDocument document;
    applyTo(document);
    // North as the window reads it back from its entry box, which shows the saved number with 15
    // digits.
    return document.survey();
}

const QByteArray ProjectContents::ProjectionTag = QByteArrayLiteral("PROJ");
const QByteArray ProjectContents::FullPathsTag = QByteArrayLiteral("FULP");

void ProjectContents::fitPaths()
{
    const auto fits = [](const QString &path) {
        return AnsiText::canEncode(path) && !path.contains(QChar(0))
            && AnsiText::encode(path).size() <= ProjectHeader::PathBytes - 1;
    };
    const auto fieldFor = [&](const QString &path) {
        if (fits(path))
            return path;
        const QString name = QFileInfo(path).fileName();
        return fits(name) ? name : QString();
    };
    const QString plan = header.planImagePath;
    const QString profile = header.profileImagePath;
    header.planImagePath = fieldFor(plan);
    header.profileImagePath = fieldFor(profile);
    if (header.planImagePath != plan || header.profileImagePath != profile) {
        QByteArray full;
        QDataStream out(&full, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint8(1) << plan << profile;
        extras.setSection(FullPathsTag, full);
    }
}

void ProjectContents::takeFullPaths()
{
    if (!extras.has(FullPathsTag))
        return;
    QDataStream in(extras.section(FullPathsTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    QString plan, profile;
    in >> version >> plan >> profile;
    // A later version may add to the end; one that cannot be read leaves the header's names.
    if (in.status() != QDataStream::Ok || version < 1)
        return;
    header.planImagePath = plan;
    header.profileImagePath = profile;
}
const QByteArray ProjectContents::DimensionsTag = QByteArrayLiteral("LRUD");

void ProjectContents::keepDimensions()
{
    const QByteArray dimensions = encodeDimensions(stations);
    if (!dimensions.isEmpty())
        extras.setSection(DimensionsTag, dimensions);
}

QString ProjectContents::dimensionsProblem() const
{
    std::vector<PassageDimensions> dimensions;
    QList<int> negative;
    if (!extras.has(DimensionsTag))
        return QString();
    if (decodeDimensions(extras.section(DimensionsTag), stations.count(), &dimensions, &negative)) {
        if (negative.isEmpty())
            return QString();
        QStringList names;
        for (const int index : std::as_const(negative))
            names.append(stations.at(index).label.isEmpty() ? QString::number(index) : stations.at(index).label);
        return Words::tr("The project gives stations %1 a negative passage dimension, which no passage has; those "
                         "values are left unknown. The rest was read.")
            .arg(names.join(QStringLiteral(", ")));
    }
    return Words::tr("The project's passage dimensions cannot be read; the stations are left without them. The "
                     "stations and other settings were read.");
}

namespace {

// The azimuth of the block as typed; false when the section cannot be read or holds no number.
bool readProjection(const ProjectExtras &extras, QString *entry)
{
    QDataStream in(extras.section(ProjectContents::ProjectionTag));
    in.setVersion(QDataStream::Qt_6_0);
    quint8 version = 0;
    in >> version >> *entry;
    // A later version may add to the end.
    return in.status() == QDataStream::Ok && version >= 1 && TypedDegrees(*entry).isNumber();
}

} // namespace

QString ProjectContents::projectionAzimuthEntry() const
{
    QString entry;
    return extras.has(ProjectionTag) && readProjection(extras, &entry) ? entry : QStringLiteral("0");
}

QString ProjectContents::projectionProblem() const
{
    QString entry;
    if (!extras.has(ProjectionTag) || readProjection(extras, &entry))
        return QString();
    return Words::tr("The project's projection azimuth cannot be read; it is taken as 0 degrees. The stations and "
                     "other settings were read.");
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
    if (hasSheets()) {
        const std::vector<ViewSettings> all = sheets();
        QStringList places;
        for (const ViewSettings &sheet : all)
            places.append(relative(sheet.imagePath));
        extras.setSection(SheetsTag, encodeSheets(all, places));
    }
    ProjectContents whole = *this;
    whole.takeFullPaths(); // the header may hold only the names
    const QString plan = relative(whole.header.planImagePath);
    const QString profile = relative(whole.header.profileImagePath);
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
    return locatedScan(stored, scanRelativePath(side), projectPath);
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
