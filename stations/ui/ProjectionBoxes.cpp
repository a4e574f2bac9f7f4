#include "stations/ui/ProjectionBoxes.h"

#include "survey/Limits.h"
#include "survey/Survey.h"
#include "widgets/Controls.h"
#include "widgets/NumberField.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QSignalBlocker>

using namespace Controls;

ProjectionBoxes::ProjectionBoxes(QWidget *panel) : QObject(panel)
{
    orientationBox = place(new QGroupBox(tr("Plan"), panel), 5, 2, 105, 41);
    orientationCaption = label(orientationBox, tr("Orientation"), 8, 16);
    orientationEdit = edit(orientationBox, QStringLiteral("0"), orientationCaption->text(), 64, 8, 33, 21);
    profileKindBox = place(new QGroupBox(tr("Profile"), panel), 5, 47, 105, 93);
    extendedRadio = radioButton(profileKindBox, tr("Extended"), true, 8, 16, 73, 17);
    projectiveRadio = radioButton(profileKindBox, tr("Projective"), false, 8, 32, 73, 17);
    noProfileRadio = radioButton(profileKindBox, tr("None"), false, 8, 48, 73, 17);
    // The projected profile's azimuth, below the kinds; it means something only for that kind.
    azimuthCaption = label(profileKindBox, tr("Azimuth, °"), 8, 70);
    azimuthEdit = edit(profileKindBox, QStringLiteral("0"), tr("Projection azimuth"), 64, 66, 33, 21);

    m_orientationField = new NumberField(orientationEdit, orientationCaption->text());
    m_azimuthField = new NumberField(azimuthEdit, azimuthEdit->accessibleName());
    for (NumberField *field : {m_orientationField, m_azimuthField}) {
        field->setRange(-Limits::MaxTurnDegrees, Limits::MaxTurnDegrees);
        connect(field, &NumberField::refused, this, &ProjectionBoxes::refused);
    }
    connect(m_orientationField, &NumberField::accepted, this, &ProjectionBoxes::orientationAccepted);
    connect(m_azimuthField, &NumberField::accepted, this, &ProjectionBoxes::azimuthAccepted);
    onChosen(extendedRadio, this, [this] { emit profileKindChosen(ProfileKind::Extended); });
    onChosen(projectiveRadio, this, [this] { emit profileKindChosen(ProfileKind::Projective); });
    onChosen(noProfileRadio, this, [this] { emit profileKindChosen(ProfileKind::None); });
}

void ProjectionBoxes::show(const QString &orientationEntry, ProfileKind kind, const QString &azimuthEntry)
{
    m_orientationField->show(orientationEntry);
    const QSignalBlocker quiet[] = {QSignalBlocker(extendedRadio), QSignalBlocker(projectiveRadio),
                                    QSignalBlocker(noProfileRadio)};
    (kind == ProfileKind::Extended ? extendedRadio : kind == ProfileKind::None ? noProfileRadio : projectiveRadio)
        ->setChecked(true);
    m_azimuthField->show(azimuthEntry);
    azimuthCaption->setEnabled(kind == ProfileKind::Projective);
    azimuthEdit->setEnabled(kind == ProfileKind::Projective);
}
