#include "output/SurveyOutput.h"

#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "output/BitmapFile.h"
#include "output/DataFileName.h"
#include "output/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
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

void SurveyOutput::setPreview(std::function<void(const QStringList &)> show, std::function<QStringList()> read)
{
    m_showPreview = std::move(show);
    m_readPreview = std::move(read);
}

ExportFormat SurveyOutput::ticked() const
{
    return ExportFormats::ofLayout(m_document.format());
}

bool SurveyOutput::dataFileKnown() const
{
    return !m_session.dataFileName().isEmpty();
}

QString SurveyOutput::saveSuffix() const
{
    return ExportFormats::extension(ticked()).mid(1);
}

SurveyOutput::Target SurveyOutput::saveTarget(const QString &chosen) const
{
    const QString name = chosen.isEmpty() ? m_session.dataFileName() : chosen;
    const ExportFormat format = ExportFormats::ofFileName(name, m_document.format()).value_or(ticked());
    return {DataFileNames::withoutExtension(name) + ExportFormats::extension(format), format};
}

SurveyOutput::Target SurveyOutput::saveAsTarget(const QString &chosen, const QString &selectedFilter) const
{
    std::optional<ExportFormat> format = ExportFormats::ofFileName(chosen, m_document.format());
    if (!format)
        format = ExportFormats::ofFilter(selectedFilter).value_or(ticked());
    // Save as keeps whatever extension was typed and gives a name without any its format's;
    // survexport's files always end in an extension we know.
    const bool keep = ExportFormats::row(*format).viaSurvexport() ? DataFileNames::hasExtension(chosen)
                                                                  : DataFileNames::hasAnySuffix(chosen);
    return {keep ? chosen : chosen + ExportFormats::extension(*format), *format};
}

ExportFormat SurveyOutput::textFormat(ExportFormat format)
{
    return ExportFormats::row(format).viaSurvexport() ? ExportFormat::Survex : format;
}

SurveyOutput::TextSource SurveyOutput::sourceFor(ExportFormat format) const
{
    if (!m_preview.edited || m_preview.format.value_or(ticked()) != format)
        return TextSource::Build;
    return m_preview.builtFrom && *m_preview.builtFrom == m_document.survey() ? TextSource::Edited
                                                                              : TextSource::AskEditedOrBuild;
}

QString SurveyOutput::editedQuestion()
{
    return Words::tr("You edited the survey data text, and the survey has changed since the text was built.\n\n"
                     "Yes: save the text as you edited it.\nNo: build the text again from the survey (your edits "
                     "are dropped).");
}

SurveyText SurveyOutput::build(ExportFormat format) const
{
    return Exporter::text(m_document.survey(), format);
}

SurveyText SurveyOutput::show(ExportFormat format)
{
    const Survey survey = m_document.survey();
    SurveyText text = Exporter::text(survey, format);
    if (!m_preview.edited || m_preview.format.value_or(ticked()) == format) {
        if (m_showPreview)
            m_showPreview(text.previewLines()); // a leg that cannot be computed ends it there
        m_preview = {format, survey, false};
    }
    if (!text.complete())
        throw CommandError(text.error);
    return text;
}

QByteArray SurveyOutput::bytes(ExportFormat format, TextSource source)
{
    if (source == TextSource::Edited)
        return SurveyText::fileBytes(m_readPreview ? m_readPreview() : QStringList());
    return show(format).fileBytes();
}

void SurveyOutput::write(const Target &target, TextSource source)
{
    if (source == TextSource::Edited)
        return write(m_readPreview ? m_readPreview() : QStringList(), target);
    show(target.format);
    Exporter::write(m_document.survey(), target.format, target.path);
    remember(target);
}

void SurveyOutput::write(const QStringList &lines, const Target &target)
{
    writeText(lines, target.path);
    remember(target);
}

void SurveyOutput::remember(const Target &target)
{
    const std::optional<SurveyFormat> layout = ExportFormats::row(target.format).layout;
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

void SurveyOutput::checkSurvexport(const Target &target, bool installed, const QString &busyWith) const
{
    if (!installed)
        throw CommandError(Words::tr("%1 is written by Survex, which is not installed: sudo apt-get install survex "
                                     "survex-aven")
                               .arg(QDir::toNativeSeparators(target.path)));
    if (!busyWith.isEmpty())
        throw CommandError(Words::tr("Survex is still writing %1.").arg(QDir::toNativeSeparators(busyWith)));
    const SurveyDetails &details = m_document.details();
    if (ExportFormats::row(target.format).survexport->needsCoordinates
        && (!details.entranceHasCoordinates || details.entrance.isEmpty()))
        throw CommandError(Words::tr("This file places the cave on the Earth: choose the entrance and give its "
                                     "coordinates in Survey Details first."));
}

bool SurveyOutput::dataFileDiffers() const
{
    if (!dataFileKnown())
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

std::optional<QString> SurveyOutput::closeQuestion() const
{
    QStringList unsaved;
    if (m_session.projectChanged())
        unsaved.append(m_session.projectPath().isEmpty()
                           ? Words::tr("the project, which has never been saved")
                           : Words::tr("the project %1").arg(QDir::toNativeSeparators(m_session.projectPath())));
    // The data file is named when what Save would write differs from what is on disk, however the
    // job came to be saved (project only, data only, or both).
    if (dataFileDiffers())
        unsaved.append(Words::tr("the survey data file %1").arg(QDir::toNativeSeparators(saveTarget(QString()).path)));
    if (unsaved.isEmpty())
        return std::nullopt;
    return Words::tr("File has been modified. Save?") + QStringLiteral("\n\n")
        + Words::tr("Not saved yet: %1.").arg(unsaved.join(Words::tr(" and ")));
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
