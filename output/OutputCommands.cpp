// View, Save, Save as, the picture saving buttons and the save prompt.
#include "app/TSpeomarkForm.h"

#include "app/AnsiText.h"
#include "app/CommandError.h"
#include "app/NumberText.h"
#include "app/TRadioGroup.h"
#include "app/TTextForm.h"
#include "output/DataFileName.h"
#include "output/SurveyText.h"
#include "output/WholeFile.h"
#include "views/TImagePane.h"

#include <QBuffer>
#include <QLineEdit>
#include <QImageWriter>
#include <algorithm>

namespace {

// Every survey data file is the whole text of the preview, as the user may have edited it.
void writePreview(const TTextForm &preview, const QString &path)
{
    const QStringList lines = preview.lines();
    const QString refused = AnsiText::unencodableCharacters(lines.join(QChar('\n')));
    if (!refused.isEmpty())
        throw CommandError(QStringLiteral("The text holds characters that a survey data file cannot store: \"%1\". "
                                          "Nothing was written to %2.")
                               .arg(refused, path));
    WholeFile::write(path, SurveyText::fileBytes(lines));
}

} // namespace

QString TSpeomarkForm::dataFileExtension() const
{
    return DataFormat->itemIndex() < 2 ? QStringLiteral(".cav") : QStringLiteral(".svx");
}

void TSpeomarkForm::BuildSurveyText()
{
    // The orientation is read first: a text that is not a number leaves the preview as it was.
    const double orientation = NumberText::toDouble(EditPlanOrientationAngle->text());
    const int format = std::clamp(DataFormat->itemIndex(), 0, 2);
    const int style = std::clamp(DataStyle->itemIndex(), 0, 1);
    const SurveyText text = SurveyText::build(Stations.data(), std::clamp(StationCount, 0, StationTableSize),
                                              SurveyFormat(format), SurveyStyle(style), orientation);
    // A leg that cannot be computed ends the text there; the lines before it stay in view.
    TextForm->setLines(text.previewLines());
    if (!text.complete())
        throw CommandError(QStringLiteral("Invalid floating point operation"));
}

void TSpeomarkForm::Button5Click()
{
    BuildSurveyText();
    TextForm->show();
    TextForm->raise();
    TextForm->activateWindow();
}

void TSpeomarkForm::Button7Click()
{
    if (Modified == 1)
        BuildSurveyText();
    if (DataFileName.isEmpty() && !dialogs().execute(this, SaveDialog1))
        return;
    QString name = SaveDialog1.fileName.isEmpty() ? DataFileName : SaveDialog1.fileName;
    name = DataFileNames::withoutExtension(name) + dataFileExtension();
    SaveDialog1.fileName = name;
    writePreview(*TextForm, name);
    DataFileName = DataFileNames::withoutExtension(name);
    TextForm->setWindowTitle(DataFileName + QStringLiteral(" - view"));
}

void TSpeomarkForm::SaveAsClick()
{
    if (Modified == 1)
        BuildSurveyText();
    if (!dialogs().execute(this, SaveDialog1))
        return;
    QString name = SaveDialog1.fileName;
    if (!DataFileNames::hasExtension(name)) {
        name += dataFileExtension();
        SaveDialog1.fileName = name;
    }
    writePreview(*TextForm, name);
    DataFileName = DataFileNames::withoutExtension(name);
    TextForm->setWindowTitle(DataFileName + QStringLiteral(" - view"));
}

void TSpeomarkForm::savePicture(TImagePane *pane)
{
    if (pane->height() == 0)
        return; // nothing is shown before an image is opened, nor after Close Project
    if (!dialogs().execute(this, SavePictDialog1))
        return;
    const QImage picture = pane->sourcePicture();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (picture.isNull() || !writer.write(picture))
        throw CommandError(QStringLiteral("Cannot make the picture for %1: %2.")
                               .arg(SavePictDialog1.fileName, picture.isNull() ? QStringLiteral("out of memory")
                                                                               : writer.errorString()));
    WholeFile::write(SavePictDialog1.fileName, bytes);
}

void TSpeomarkForm::Button4Click()
{
    savePicture(ImageLeft);
}

void TSpeomarkForm::Button8Click()
{
    savePicture(ImageRight);
}

int TSpeomarkForm::AskSave()
{
    if (Modified != 1)
        return 3;
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    switch (dialogs().askYesNoCancel(this, QStringLiteral("Speomark: Confirm"),
                                     QStringLiteral("File has been modified. Save?"))) {
    case Answer::No:
        Modified = 0;
        return 0;
    case Answer::Yes:
        BuildSurveyText();
        if (!DataFileName.isEmpty()) {
            writePreview(*TextForm, DataFileName + dataFileExtension());
            return 3;
        }
        if (!dialogs().execute(this, SaveDialog1))
            return 2;
        writePreview(*TextForm, SaveDialog1.fileName);
        Modified = 0;
        return 1;
    case Answer::Cancel:
        break;
    }
    return 2;
}
