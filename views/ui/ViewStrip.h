#pragma once

#include <QWidget>

class NumberField;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class UpDown;
struct ViewSettings;
enum class ViewSide;

// The controls of one view in the strip above the panes: open a scan, the scale grid (shown or
// not, the metres and pixels of a cell, "OK"/"Change", two up-downs that shift it) and zoom.
// Made twice: the plan's at the strip's left, the profile's, in its own order, at its right.
class ViewStrip : public QWidget
{
    Q_OBJECT
public:
    ViewStrip(ViewSide side, QWidget *parent);

    // Shows the view's settings; locked grid entries are disabled and the button reads "Change".
    void showSettings(const ViewSettings &view, bool gridLocked);

    // Moves the grid as its arrows would, within their range.
    void shiftGrid(int right, int up);

    // Why a grid entry now typed is refused (OK must not take the value behind it); empty when none is.
    QString takeGridRefusal();

    // The profile's strip keeps this distance between its left edge and the strip's right edge.
    static constexpr int ProfileStripWidth = 394;

    QToolButton *openButton = nullptr;
    QCheckBox *gridCheck = nullptr;
    QLineEdit *gridMetresEdit = nullptr;
    QLabel *metresLabel = nullptr;
    QLineEdit *gridPixelsEdit = nullptr;
    QLabel *pixelsLabel = nullptr;
    QPushButton *gridOkButton = nullptr;
    UpDown *gridShiftRight = nullptr; // horizontal
    UpDown *gridShiftUp = nullptr;    // vertical
    QToolButton *zoomOutButton = nullptr;
    QToolButton *zoomInButton = nullptr;

private:
    NumberField *m_metresField = nullptr;
    NumberField *m_pixelsField = nullptr;

signals:
    void openClicked();
    void zoomInClicked();
    void zoomOutClicked();
    void gridShownClicked(bool shown);
    // A number typed into either grid entry: both entries as they stand in force.
    void gridEntriesEdited(const QString &metres, const QString &pixels);
    // Text typed into an entry that is not a number: why, naming the entry.
    void entryRefused(const QString &message);
    void gridOkClicked();
    void gridShifted(int right, int up);
};
