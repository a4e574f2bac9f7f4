#pragma once

#include "app/DialogService.h"
#include "app/SurveyState.h"

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QToolButton;
class TDHelpForm;
class TImagePane;
class TPanel;
class TRadioGroup;
class TSplitter;
class TTextForm;
class TUpDown;

// The main window: every control, the survey state (inherited as plain fields) and every command
// as a handler method. A handler reads the controls, calls core code, writes the controls and
// redraws; each subsystem's handlers are defined in that subsystem's folder. Control names, their
// positions (left, top inside their parent) and captions are those cavers know from the program.
class TSpeomarkForm : public QMainWindow, public SurveyState
{
    Q_OBJECT
public:
    explicit TSpeomarkForm(QWidget *parent = nullptr);
    ~TSpeomarkForm() override;

    // The secondary windows, created after this one (see SpeomarkApplication).
    void setSecondaryWindows(TTextForm *textForm, TDHelpForm *helpForm);
    TTextForm *TextForm = nullptr;
    TDHelpForm *DHelpForm = nullptr;

    // Dialogs and message boxes go through this service; tests install a scripted one.
    DialogService &dialogs() { return *m_dialogs; }
    void setDialogService(std::unique_ptr<DialogService> service);

    // Runs a command; an error it raises ends it and is shown in a message box. Every handler
    // connected to a control runs through here, so no exception reaches the event loop.
    void guard(const std::function<void()> &command);

    // Texts of the status bar panels 0..2.
    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString &text);

    // ---- Window (app/) ----
    void FormCreate();
    void FormResize();
    void Splitter1Moved();
    bool FormCloseQuery(); // false keeps the window open
    void FormClose();
    void BitBtn1Click();

    // ---- Image views (views/) ----
    void OpenLeftBtnClick();
    void OpenRightBtnClick();
    void LeftMinusClick();
    void LeftPlusClick();
    void RightMinusClick();
    void RightPlusClick();
    void ImageLeftMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageLeftMouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageLeftMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageRightMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageRightMouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void ImageRightMouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void DrawPlanView();
    void DrawProfileView();
    // Scale grid calibration.
    void CheckBoxLeftSetkaClick();
    void CheckBoxRightSetkaClick();
    void Button1Click();
    void Button2Click();
    void GridL1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift);
    void GridL2MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift);
    void GridR1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift);
    void GridR2MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift);
    void GridL1Click();
    void GridL2Click();
    void GridR1Click();
    void GridR2Click();

    // ---- Station editing (stations/) ----
    void PlacePlanPoint(int X, int Y);    // placing branch of ImageLeftMouseUp
    void PlaceProfilePoint(int X, int Y); // placing branch of ImageRightMouseUp
    void ButtonAddClick();
    void CheckBoxShowLabelsClick();
    void CheckBoxShowLinesClick();
    void CheckBox5Click();
    void RadioButton3Click();
    void RadioButton5Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void Button11Click();
    void Button12Click();
    void checkStationTexts() const;   // throws when Edit6/Edit7 hold what the fields cannot store
    void showSelectedStationTexts();  // Edit6/Edit7 := texts of Stations[CurrentStation]
    void enableNewBranchWhereAllowed(); // "New branch" as returning to Add mode leaves it

    // ---- Survey data output (output/) ----
    void BuildSurveyText();
    void Button5Click();
    void Button7Click();
    void SaveAsClick();
    void Button4Click();
    void Button8Click();
    int AskSave();
    QString dataFileExtension() const;     // ".cav" for the Lumaro layouts, ".svx" for Survex
    void savePicture(TImagePane *pane);    // Save left/right BMP

    // ---- Project files (project/) ----
    void OpenProject1Click();
    void SaveProjectAs1Click();
    void ButtonCloseProjectClick();
    void openProject(const QString &path); // Open Existing Project after its dialog; also the command line

    // ---- Controls ----
    QWidget *GroupBox1 = nullptr;
    TPanel *Panel1 = nullptr;
    QToolButton *OpenLeftBtn = nullptr;
    QCheckBox *CheckBoxLeftSetka = nullptr;
    QLineEdit *EditLeftSetka = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *EditLeftPixels = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;
    TUpDown *GridL2 = nullptr;
    TUpDown *GridL1 = nullptr;
    QToolButton *LeftMinus = nullptr;
    QToolButton *LeftPlus = nullptr;
    QToolButton *RightMinus = nullptr;
    QToolButton *RightPlus = nullptr;
    TUpDown *GridR1 = nullptr;
    TUpDown *GridR2 = nullptr;
    QCheckBox *CheckBoxRightSetka = nullptr;
    QLineEdit *EditRightSetka = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *EditRightPixels = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *Button2 = nullptr;
    QToolButton *OpenRightBtn = nullptr;

    QScrollArea *ScrollBox1 = nullptr;
    TSplitter *Splitter1 = nullptr;
    QScrollArea *ScrollBox2 = nullptr;
    TImagePane *ImageLeft = nullptr;
    TImagePane *ImageRight = nullptr;

    TPanel *Panel2 = nullptr;
    QGroupBox *LeftBox = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *EditPlanOrientationAngle = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    QRadioButton *RadioButton5 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *Edit7 = nullptr;
    QPushButton *ButtonAdd = nullptr;
    QCheckBox *CheckBox5 = nullptr;
    QPushButton *Button11 = nullptr;
    QPushButton *Button12 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button8 = nullptr;
    TPanel *Panel3 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *ButtonSaveProjectAs = nullptr;
    QPushButton *ButtonCloseProject = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QCheckBox *CheckBoxShowLabels = nullptr;
    QCheckBox *CheckBoxShowLines = nullptr;
    QPushButton *Button6 = nullptr;
    QGroupBox *GroupBox5 = nullptr;
    TRadioGroup *DataFormat = nullptr;
    TRadioGroup *DataStyle = nullptr;
    QPushButton *Button5 = nullptr;
    QPushButton *Button7 = nullptr;
    QPushButton *Button10 = nullptr;

    QStatusBar *StatusBar1 = nullptr;
    QMenu *File = nullptr;
    QAction *OpenPlanLeftImage1 = nullptr;
    QAction *OpenProfileRightImage1 = nullptr;
    QAction *OpenProject1 = nullptr;
    QAction *SaveProjectAs1 = nullptr;
    QAction *CloseAll1 = nullptr;

    FileDialog OpenDlg1;
    FileDialog SaveDialog1;
    FileDialog SavePictDialog1;
    FileDialog SaveProjectDialog;
    FileDialog OpenProjectDialog;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void createMenu();
    void nameControls();
    void connectHandlers();
    void layoutPanes();      // places the two panes and the splitter inside GroupBox1
    void layoutTopPanel();   // keeps the profile-side controls at their distance from the right
    // Image views: the shared part of the two image open commands (views/ViewCommands.cpp).
    bool openImageInto(QImage &bitmap, TImagePane *image, QString &fileName, std::int32_t &width,
                       std::int32_t &height);
    // Scale grid: the shared part of the two calibration presses (views/GridCommands.cpp).
    void calibrateGrid(QPushButton *button, QLineEdit *metres, QLineEdit *pixels, double &gridPixels,
                       double &metresPerPixel, const QLineEdit *otherMetres, const QLineEdit *otherPixels,
                       const QString &rejection, void (TSpeomarkForm::*redraw)());

    std::unique_ptr<DialogService> m_dialogs;
    QString m_parkedLabel;   // texts typed for the pending station while Move mode is on and
    QString m_parkedComment; // the table is full, so there is no pending entry to park them in
    QList<QLabel *> m_statusPanels;
    QList<QPair<QWidget *, int>> m_rightAnchored; // control, distance of its left edge from the panel's right edge
};
