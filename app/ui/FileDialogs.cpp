#include "app/ui/FileDialogs.h"

#include "document/SurveyDocument.h"

#include <QCoreApplication>
#include <QImageReader>

namespace {

FileDialog dialog(FileDialog::Kind kind, const QString &filter, const char *suffix, const char *settingsKey)
{
    const bool save = kind == FileDialog::Kind::Save;
    FileDialog made{kind, filter, QString::fromLatin1(suffix), save, QString(), QString(), QString()};
    made.settingsKey = QString::fromLatin1(settingsKey);
    return made;
}

} // namespace

FileDialogs::FileDialogs()
{
    // Scans in any format a reader knows, and PDF sheets.
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    patterns.append(QStringLiteral("*.pdf"));
    const QString images = tr("Images (%1);;All (*)").arg(patterns.join(QChar(' ')));
    const QString projects = tr("Speomark Project Files (*.sprj);;All (*)");
    planImage = dialog(FileDialog::Kind::Open, images, "", "planImage");
    profileImage = dialog(FileDialog::Kind::Open, images, "", "profileImage");
    dataFile = dialog(FileDialog::Kind::Save, QString(), "dat", "dataFile");
    picture = dialog(FileDialog::Kind::Save, tr("Bitmaps (*.bmp);;All (*)"), "bmp", "picture");
    saveProject = dialog(FileDialog::Kind::Save, projects, "sprj", "saveProject");
    openProject = dialog(FileDialog::Kind::Open, projects, "sprj", "openProject");
}

FileDialog &FileDialogs::image(ViewSide side)
{
    return side == ViewSide::Plan ? planImage : profileImage;
}
