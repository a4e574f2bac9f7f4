#pragma once

#include "survey/Survey.h"
#include "output/SurveyText.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The survey files we write, whatever asks for them.
enum class ExportFormat { LumaroLabel, LumaroFromTo, Survex, Therion, Compass, SurvexExtend };

// The one road from a survey to its files: Save, Save as and the save prompt in the window and
// speomark-export all build their text here, so the same survey gives the same bytes everywhere.
namespace Exporter {

// The format of a layout of the "Format" group, and back (Therion, Compass and Survex's extend
// file are no layout).
ExportFormat ofLayout(SurveyFormat layout);
std::optional<SurveyFormat> layoutOf(ExportFormat format);

// ".cav", ".svx", ".th", ".dat", ".espec".
QString extension(ExportFormat format);

// The format a file name asks for by an extension we know: ".svx" Survex, ".th" Therion, ".espec"
// Survex's extend file, ".cav"
// the ticked Lumaro layout ("FromTo" while Survex is ticked). Any other name asks for none.
std::optional<ExportFormat> formatOfName(const QString &path, SurveyFormat ticked);

// The survey's text in a format. A leg that cannot be computed ends it (see SurveyText); Survex's
// extend file is only for an extended profile (else its error says so, naming no leg).
SurveyText text(const Survey &survey, ExportFormat format);

// The whole text written to `path` through the whole-file writer. Throws CommandError, with
// nothing written, when a leg cannot be computed or the file cannot be written.
void write(const Survey &survey, ExportFormat format, const QString &path);

} // namespace Exporter
