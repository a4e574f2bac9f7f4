#include "output/Exporter.h"

#include "output/WholeFile.h"
#include "survey/CommandError.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// Texts the user reads, in the interface's language.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(Exporter)
};

} // namespace

namespace Exporter {

SurveyText text(const Survey &survey, ExportFormat format)
{
    return ExportFormats::row(format).text(survey);
}

void write(const Survey &survey, ExportFormat format, const QString &path)
{
    if (ExportFormats::row(format).viaSurvexport())
        throw CommandError(
            Words::tr("%1 is written by Survex, through Save Survey Data As.").arg(QDir::toNativeSeparators(path)));
    const SurveyText built = text(survey, format);
    if (!built.complete())
        throw CommandError(built.error);
    WholeFile::write(path, built.fileBytes());
}

} // namespace Exporter
