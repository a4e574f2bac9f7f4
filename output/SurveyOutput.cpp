#include "output/SurveyOutput.h"

#include "app/AnsiText.h"
#include "app/CommandError.h"
#include "app/EditSession.h"
#include "app/NumberText.h"
#include "app/SurveyDocument.h"
#include "output/BitmapFile.h"
#include "output/CompassText.h"
#include "output/DataFileName.h"
#include "output/TherionText.h"
#include "output/WholeFile.h"

#include <QCoreApplication>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SurveyOutput)
};

} // namespace

SurveyOutput::SurveyOutput(SurveyDocument &document, EditSession &session) : m_document(document), m_session(session) {}

SurveyText SurveyOutput::build() const
{
    const double orientation = NumberText::toDouble(m_document.orientationEntry());
    return SurveyText::build(m_document.stations(), m_document.format(), m_document.style(), orientation,
                             m_document.details());
}

QString SurveyOutput::extension() const
{
    return m_document.format() == SurveyFormat::Survex ? QStringLiteral(".svx") : QStringLiteral(".cav");
}

void SurveyOutput::remember(const QString &path)
{
    m_session.setDataFileName(DataFileNames::withoutExtension(path));
}

QString SurveyOutput::save(const QStringList &lines, const QString &chosen)
{
    const QString name = (chosen.isEmpty() ? m_session.dataFileName() : chosen);
    const QString path = DataFileNames::withoutExtension(name) + extension();
    writeText(lines, path);
    remember(path);
    return path;
}

QString SurveyOutput::saveAs(const QStringList &lines, const QString &chosen)
{
    const QString path = DataFileNames::hasExtension(chosen) ? chosen : chosen + extension();
    writeText(lines, path);
    remember(path);
    return path;
}

QString SurveyOutput::filter(OtherFormat format)
{
    return format == OtherFormat::Therion ? Words::tr("Therion files (*.th)") : Words::tr("Compass files (*.dat)");
}

QString SurveyOutput::saveAs(OtherFormat format, const QString &chosen) const
{
    const double orientation = NumberText::toDouble(m_document.orientationEntry());
    const SurveyText text = format == OtherFormat::Therion
        ? TherionText::build(m_document.stations(), m_document.style(), orientation, m_document.details())
        : CompassText::build(m_document.stations(), orientation, m_document.details());
    if (!text.complete())
        throw CommandError(text.error);
    const QString extension = format == OtherFormat::Therion ? QStringLiteral(".th") : QStringLiteral(".dat");
    const QString path = DataFileNames::hasExtension(chosen) ? chosen : chosen + extension;
    writeText(text.previewLines(), path);
    return path;
}

void SurveyOutput::saveToKnownFile(const QStringList &lines)
{
    writeText(lines, m_session.dataFileName() + extension());
}

void SurveyOutput::saveToChosenFile(const QStringList &lines, const QString &chosen)
{
    writeText(lines, chosen);
    m_document.setModified(false);
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
