#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The column beside the station box: the mode ("Add new" or "Move", and whether a station is added
// as soon as its points are placed), whether labels and legs are
// shown on the views, and the 3D view's button.
class ModeBox : public QWidget
{
    Q_OBJECT
public:
    explicit ModeBox(QWidget *parent);

    // Move is offered once there is a station to edit.
    void showMode(bool moving, bool moveAvailable, bool showLabels, bool showLines);
    void showAddWhenPlaced(bool on);

    QGroupBox *modeGroup = nullptr;
    QRadioButton *addModeRadio = nullptr;
    QRadioButton *moveModeRadio = nullptr;
    QCheckBox *addWhenPlacedCheck = nullptr;
    QCheckBox *showLabelsCheck = nullptr;
    QCheckBox *showLinesCheck = nullptr;
    QPushButton *view3dButton = nullptr;

signals:
    void addModeChosen();
    void moveModeChosen();
    void showLabelsClicked(bool shown);
    void showLinesClicked(bool shown);
    void view3dClicked();
    void addWhenPlacedClicked(bool on);
};
