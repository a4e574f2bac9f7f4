#pragma once

#include "output/ExportFormats.h"
#include "output/SurveyText.h"
#include "survey/Survey.h"

#include <QString>

// The one road from a survey to its files: Save, Save as and the close prompt in the window and
// speomark-export all build their text here, so the same survey gives the same bytes everywhere.
// Which text a format gets is its row's (see ExportFormats).
namespace Exporter {

// The survey's text in a format (Survex's for a file survexport writes). A leg that cannot be
// computed ends it (see SurveyText); Survex's extend file is only for an extended profile (else
// its error says so, naming no leg).
SurveyText text(const Survey &survey, ExportFormat format);

// The whole text written to `path` through the whole-file writer. Throws CommandError, with
// nothing written, when a leg cannot be computed or the file cannot be written. A file survexport
// writes is refused: Survex's programs run without waiting, through SurvexExport.
void write(const Survey &survey, ExportFormat format, const QString &path);

} // namespace Exporter
