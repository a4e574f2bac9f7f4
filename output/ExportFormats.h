#pragma once

#include "survey/Survey.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct SurveyText;

// The survey files we write, whatever asks for them; each has one row in ExportFormats.cpp.
enum class ExportFormat {
    LumaroLabel, LumaroFromTo, Survex, Therion, Compass, SurvexExtend, // texts we build
    Kml, Gpx, Dxf, Svg, Json, Plt,                                      // survexport writes
};

// What survexport needs to write a format from the model cavern computed of our Survex text.
struct SurvexportFile
{
    const char *option;    // "--kml"
    const char *ending;    // how a whole file of it ends ("</kml>"); one that does not was cut short
    bool needsCoordinates; // the entrance must be placed on the Earth
};

// One file format: everything Save, Save as, the close prompt, speomark-export and the survexport
// runner ask about it. Adding a format is one writer and one row.
struct ExportFormatRow
{
    ExportFormat format;
    const char *commandName; // speomark-export's --format; null: not offered there
    const char *extension;   // ".svx": what Save puts on a name, and what chooses this format
    std::optional<SurveyFormat> layout; // the layout of the "Format" group it is, if any
    const char *filter;      // Save as's filter (context "ExportFormats"); null: the layouts' common one
    SurveyText (*text)(const Survey &survey); // the text written; Survex's, for survexport's files
    std::optional<SurvexportFile> survexport; // set: survexport writes the file from that text

    bool viaSurvexport() const { return survexport.has_value(); }
    QString filterText() const; // translated
};

namespace ExportFormats {

// Every row, in the order Save as offers them.
const QList<ExportFormatRow> &all();
const ExportFormatRow &row(ExportFormat format);

// The format of a layout of the "Format" group.
ExportFormat ofLayout(SurveyFormat layout);
// ".cav", ".svx", ".th", ".dat", ".espec", ".kml" ...
QString extension(ExportFormat format);
// Save as's filter of a format that has one of its own ("Therion files (*.th)"), translated.
QString filter(ExportFormat format);

// The format a file name asks for by a known extension at the end of its own name (".cav" is the
// ticked Lumaro layout's, FromTo's while Survex is ticked); none for any other name.
std::optional<ExportFormat> ofFileName(const QString &path, SurveyFormat ticked);
// The format of one of Save as's filters; none for the layouts' common filter and "All".
std::optional<ExportFormat> ofFilter(const QString &filter);
// speomark-export's --format names in the order of ExportFormat, and the format of one.
QStringList commandNames();
std::optional<ExportFormat> ofCommandName(const QString &name);

// Save as's filters: the layouts' common one, each format's own (survexport's only while it can
// run), then "All"; joined as a file dialog takes them.
QString saveAsFilters(bool survexportAvailable);

// Every extension a row has, lower case, without the dot, once each.
QStringList extensions();

} // namespace ExportFormats
