#pragma once

#include <QGroupBox>

class QPushButton;
class RadioGroup;
enum class SurveyFormat;
enum class SurveyStyle;

// The survey data file box: the layout ("Format") and the third value of each leg ("Style") of
// the text, and View, Save, Save as, and Check (the survey check before the data leave).
class DataFileBox : public QGroupBox
{
    Q_OBJECT
public:
    explicit DataFileBox(QWidget *parent);

    void showChoices(SurveyFormat format, SurveyStyle style);

    RadioGroup *formatGroup = nullptr;
    RadioGroup *styleGroup = nullptr;
    QPushButton *viewButton = nullptr;
    QPushButton *saveButton = nullptr;
    QPushButton *saveAsButton = nullptr;
    QPushButton *checkButton = nullptr;

signals:
    void formatChosen(SurveyFormat format);
    void styleChosen(SurveyStyle style);
    void viewClicked();
    void saveClicked();
    void saveAsClicked();
    void checkClicked();
};
