#pragma once

#include <QObject>

class NumberField;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;
enum class ProfileKind;

// How the drawings show the cave, at the lower panel's left: the plan's orientation (its north),
// and the profile's kind with a projected profile's azimuth. Entries out of range or not numbers
// are refused with the reason.
class ProjectionBoxes : public QObject
{
    Q_OBJECT
public:
    explicit ProjectionBoxes(QWidget *panel);

    void show(const QString &orientationEntry, ProfileKind kind, const QString &azimuthEntry);

    QGroupBox *orientationBox = nullptr;
    QLabel *orientationCaption = nullptr;
    QLineEdit *orientationEdit = nullptr;
    QGroupBox *profileKindBox = nullptr;
    QRadioButton *extendedRadio = nullptr;
    QRadioButton *projectiveRadio = nullptr;
    QRadioButton *noProfileRadio = nullptr;
    QLabel *azimuthCaption = nullptr;
    QLineEdit *azimuthEdit = nullptr;

signals:
    void orientationAccepted(const QString &text);
    void azimuthAccepted(const QString &text);
    void profileKindChosen(ProfileKind kind);
    void refused(const QString &message);

private:
    NumberField *m_orientationField = nullptr;
    NumberField *m_azimuthField = nullptr;
};
