#include "output/SurveyOutput.h"

#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "output/BitmapFile.h"
#include "output/DataFileName.h"
#include "output/WholeFile.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SurveyOutput)
};

} // namespace

SurveyOutput::SurveyOutput(SurveyDocument &document, EditSession &session) : m_document(document), m_session(session) {}

ExportFormat SurveyOutput::ticked() const
{
    return Exporter::ofLayout(m_document.format());
}

SurveyOutput::Target SurveyOutput::saveTarget(const QString &chosen) const
{
    const QString name = chosen.isEmpty() ? m_session.dataFileName() : chosen;
    const ExportFormat format = Exporter::formatOfName(name, m_document.format()).value_or(ticked());
    return {DataFileNames::withoutExtension(name) + Exporter::extension(format), format};
}

SurveyOutput::Target SurveyOutput::saveAsTarget(const QString &chosen, std::optional<ExportFormat> byFilter) const
{
    const ExportFormat format =
        byFilter ? *byFilter : Exporter::formatOfName(chosen, m_document.format()).value_or(ticked());
    // Save as keeps whatever extension was typed; only a name without any gets the format's.
    return {DataFileNames::hasAnySuffix(chosen) ? chosen : chosen + Exporter::extension(format), format};
}

SurveyText SurveyOutput::build(ExportFormat format) const
{
    return Exporter::text(m_document.survey(), format);
}

bool SurveyOutput::dataFileDiffers() const
{
    if (m_session.dataFileName().isEmpty())
        return false;
    const Target target = saveTarget(QString());
    QFile file(target.path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    try {
        return file.readAll() != build(target.format).fileBytes();
    } catch (const CommandError &) {
        return m_document.modified(); // a leg that cannot be computed: as far as can be told
    }
}

SurveyOutput::TextSource SurveyOutput::sourceFor(ExportFormat format) const
{
    if (!m_preview.edited || m_preview.format.value_or(ticked()) != format)
        return TextSource::Build;
    return m_preview.builtFrom && *m_preview.builtFrom == m_document.survey() ? TextSource::Edited
                                                                              : TextSource::AskEditedOrBuild;
}

void SurveyOutput::previewBuilt(ExportFormat format, const Survey &from)
{
    m_preview = {format, from, false};
}

void SurveyOutput::write(const QStringList &lines, const Target &target)
{
    writeText(lines, target.path);
    const std::optional<SurveyFormat> layout = Exporter::layoutOf(target.format);
    if (!layout)
        return; // another program's file: Save goes on writing the layout's
    // Save goes on with this name: a known extension gives way to the layout's, and so does one
    // Save as kept that no format has ("again.txt": Save writes "again.cav").
    const QString path = target.path;
    const qsizetype dot = path.lastIndexOf(QChar('.'));
    m_session.setDataFileName(DataFileNames::hasExtension(path) ? DataFileNames::withoutExtension(path)
                              : DataFileNames::hasAnySuffix(path) ? path.left(dot)
                                                                   : path);
    if (*layout != m_document.format())
        m_document.setFormat(*layout);
}

QString SurveyOutput::filter(ExportFormat format)
{
    if (format == ExportFormat::SurvexExtend)
        return Words::tr("Survex extend files: the extended profile as drawn (*.espec)");
    return format == ExportFormat::Therion ? Words::tr("Therion files (*.th)") : Words::tr("Compass files (*.dat)");
}

void SurveyOutput::writeText(const QStringList &lines, const QString &path)
{
    const QString refused = AnsiText::unencodableCharacters(lines.join(QChar('\n')));
    if (!refused.isEmpty())
        throw CommandError(Words::tr("The text holds characters that a survey data file cannot "
                                     "store: \"%1\". Nothing was written to %2.")
                               .arg(refused, path));
    WholeFile::write(path, SurveyText::fileBytes(lines));
}

void SurveyOutput::writePicture(const ViewSnapshot &view, const QString &path)
{
    BitmapFile::writeView(view, path);
}
