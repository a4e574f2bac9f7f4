#include "app/TSpeomarkForm.h"

#include "app/CommandError.h"
#include "app/Glyphs.h"
#include "app/QtDialogService.h"
#include "app/TPanel.h"
#include "app/TRadioGroup.h"
#include "app/TSplitter.h"
#include "app/TUpDown.h"
#include "app/AnsiValidator.h"
#include "app/Truncate.h"
#include "views/TImagePane.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <new>

namespace {

// Sizes of the window's frame parts, in pixels.
constexpr int InitialClientWidth = 881;
constexpr int InitialClientHeight = 659;
constexpr int Panel1Height = 33;
constexpr int Panel2Height = 160;
constexpr int GroupBoxBorder = 2; // GroupBox1's frame around Panel1
constexpr int PaneInset = 6;      // pane area inset on each side: both panes + splitter = client - 12
constexpr int StatusPanelWidth = 80;
constexpr int InitialPanel1Width = InitialClientWidth - 2 * GroupBoxBorder;

template <class W> W *place(W *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel *labelAt(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QToolButton *speedButton(QWidget *parent, const QImage &glyph, int left, int top, int width, int height)
{
    auto *button = place(new QToolButton(parent), left, top, width, height);
    button->setIcon(Glyphs::icon(glyph));
    button->setIconSize(glyph.size());
    button->setAutoRaise(true);
    return button;
}

QCheckBox *checkBox(QWidget *parent, const QString &text, bool checked, int left, int top, int width, int height)
{
    auto *box = place(new QCheckBox(text, parent), left, top, width, height);
    box->setChecked(checked);
    return box;
}

QRadioButton *radioButton(QWidget *parent, const QString &text, bool checked, int left, int top, int width, int height)
{
    auto *button = place(new QRadioButton(text, parent), left, top, width, height);
    button->setChecked(checked);
    return button;
}

QLineEdit *edit(QWidget *parent, const QString &text, int left, int top, int width, int height)
{
    auto *box = place(new QLineEdit(text, parent), left, top, width, height);
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

QPushButton *pushButton(QWidget *parent, const QString &text, int left, int top, int width, int height)
{
    return place(new QPushButton(text, parent), left, top, width, height);
}

TUpDown *upDown(QWidget *parent, Qt::Orientation orientation, int left, int top, int width, int height)
{
    auto *spinner = place(new TUpDown(orientation, parent), left, top, width, height);
    spinner->setRange(-500, 500);
    spinner->setPosition(0);
    spinner->setToolTip(QStringLiteral("сдвиг сетки"));
    return spinner;
}

QScrollArea *scrollBox(QWidget *parent, TImagePane *&image)
{
    auto *box = new QScrollArea(parent);
    box->setWidgetResizable(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setFrameShape(QFrame::StyledPanel);
    box->setFrameShadow(QFrame::Sunken);
    image = new TImagePane;
    box->setWidget(image);
    return box;
}

} // namespace

TSpeomarkForm::TSpeomarkForm(QWidget *parent)
    : QMainWindow(parent), m_dialogs(std::make_unique<QtDialogService>())
{
    setWindowTitle(QStringLiteral("Speomark"));
    setWindowIcon(Glyphs::icon(Glyphs::applicationIcon()));
    // A narrow sans face at 11 pixels keeps every caption inside the small controls of the panels.
    // Frames with their caption on the line, so controls can sit right under the caption.
    // (The font goes in the same sheet: a sheet on the window would override a font set apart.)
    setStyleSheet(QStringLiteral(
        "TSpeomarkForm, TSpeomarkForm * { font-family: \"DejaVu Sans Condensed\"; font-size: 11px; }"
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"));

    OpenDlg1 = {FileDialog::Kind::Open, QStringLiteral("All (*)"), QString(), false, QString()};
    SaveDialog1 = {FileDialog::Kind::Save, QString(), QStringLiteral("dat"), true, QString()};
    SavePictDialog1 = {FileDialog::Kind::Save, QStringLiteral("Bitmaps (*.bmp);;All (*)"), QStringLiteral("bmp"), true, QString()};
    SaveProjectDialog = {FileDialog::Kind::Save, QStringLiteral("Speomark Project Files (*.sprj);;All (*)"),
                         QStringLiteral("sprj"), true, QString()};
    OpenProjectDialog = {FileDialog::Kind::Open, QStringLiteral("Speomark Project Files (*.sprj);;All (*)"),
                         QStringLiteral("sprj"), false, QString()};

    createControls();
    createMenu();
    nameControls();
    connectHandlers();
    resize(InitialClientWidth, InitialClientHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormCreate();
}

TSpeomarkForm::~TSpeomarkForm() = default;

void TSpeomarkForm::setSecondaryWindows(TTextForm *textForm, TDHelpForm *helpForm)
{
    TextForm = textForm;
    DHelpForm = helpForm;
}

void TSpeomarkForm::setDialogService(std::unique_ptr<DialogService> service)
{
    m_dialogs = std::move(service);
}

void TSpeomarkForm::guard(const std::function<void()> &command)
{
    QString failure;
    try {
        command();
        return;
    } catch (const CommandError &error) {
        failure = error.message();
    } catch (const std::bad_alloc &) {
        failure = QStringLiteral("Out of memory");
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    m_dialogs->message(this, QStringLiteral("Speomark"), failure, MessageIcon::Error);
}

QString TSpeomarkForm::statusPanelText(int panel) const
{
    return m_statusPanels.value(panel) ? m_statusPanels.value(panel)->text() : QString();
}

void TSpeomarkForm::setStatusPanelText(int panel, const QString &text)
{
    if (QLabel *label = m_statusPanels.value(panel))
        label->setText(text);
}

void TSpeomarkForm::createControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    // ---- Upper part: the strip of image and grid controls, and the two panes ----
    auto *frame = new QGroupBox(central);
    GroupBox1 = frame;
    Panel1 = new TPanel(GroupBox1);
    Panel1->setCaption(QStringLiteral("Plan   /   Profile"));
    place(Panel1, GroupBoxBorder, GroupBoxBorder, InitialPanel1Width, Panel1Height);

    OpenLeftBtn = speedButton(Panel1, Glyphs::openFolder(), 8, 8, 23, 22);
    OpenLeftBtn->setIconSize(QSize(22, 21));
    CheckBoxLeftSetka = checkBox(Panel1, QStringLiteral("Сетка через"), true, 40, 16, 89, 17);
    EditLeftSetka = edit(Panel1, QStringLiteral("10"), 128, 8, 33, 21);
    Label1 = labelAt(Panel1, QStringLiteral("м"), 160, 16);
    EditLeftPixels = edit(Panel1, QStringLiteral("50"), 176, 8, 33, 21);
    Label2 = labelAt(Panel1, QStringLiteral("pixels"), 208, 16);
    Button1 = pushButton(Panel1, QStringLiteral("OK"), 240, 8, 49, 25);
    GridL2 = upDown(Panel1, Qt::Horizontal, 296, 8, 33, 17);
    GridL1 = upDown(Panel1, Qt::Vertical, 328, 0, 17, 33);
    LeftMinus = speedButton(Panel1, Glyphs::zoomOut(), 352, 8, 23, 22);
    LeftPlus = speedButton(Panel1, Glyphs::zoomIn(), 376, 8, 23, 22);
    RightMinus = speedButton(Panel1, Glyphs::zoomOut(), 483, 8, 23, 22);
    RightPlus = speedButton(Panel1, Glyphs::zoomIn(), 507, 8, 23, 22);
    GridR1 = upDown(Panel1, Qt::Vertical, 536, 0, 17, 33);
    GridR2 = upDown(Panel1, Qt::Horizontal, 552, 8, 33, 17);
    CheckBoxRightSetka = checkBox(Panel1, QStringLiteral("Сетка через"), true, 595, 16, 89, 17);
    EditRightSetka = edit(Panel1, QStringLiteral("10"), 683, 8, 33, 21);
    Label4 = labelAt(Panel1, QStringLiteral("м"), 715, 16);
    EditRightPixels = edit(Panel1, QStringLiteral("50"), 731, 8, 30, 21);
    Label5 = labelAt(Panel1, QStringLiteral("pixels"), 763, 16);
    Button2 = pushButton(Panel1, QStringLiteral("OK"), 795, 8, 45, 25);
    OpenRightBtn = speedButton(Panel1, Glyphs::openFolder(), 848, 8, 23, 22);
    OpenRightBtn->setIconSize(QSize(22, 21));
    for (QWidget *w : std::initializer_list<QWidget *>{RightMinus, RightPlus, GridR1, GridR2, CheckBoxRightSetka,
                                                       EditRightSetka, Label4, EditRightPixels, Label5, Button2,
                                                       OpenRightBtn})
        m_rightAnchored.append({w, InitialPanel1Width - w->x()});

    ScrollBox1 = scrollBox(GroupBox1, ImageLeft);
    ScrollBox2 = scrollBox(GroupBox1, ImageRight);
    ScrollBox1->resize(431, ScrollBox1->height());
    Splitter1 = new TSplitter(GroupBox1);

    // ---- Lower panel: stations, mode, output and project controls ----
    Panel2 = new TPanel(central);

    LeftBox = place(new QGroupBox(QStringLiteral("Plan"), Panel2), 5, 2, 105, 41);
    Label3 = labelAt(LeftBox, QStringLiteral("Orientation"), 8, 16);
    EditPlanOrientationAngle = edit(LeftBox, QStringLiteral("0"), 64, 8, 33, 21);

    GroupBox4 = place(new QGroupBox(QStringLiteral("Profile"), Panel2), 5, 47, 105, 73);
    RadioButton3 = radioButton(GroupBox4, QStringLiteral("Extended"), true, 8, 16, 73, 17);
    RadioButton4 = radioButton(GroupBox4, QStringLiteral("Projective"), false, 8, 32, 73, 17);
    RadioButton4->setEnabled(false);
    RadioButton5 = radioButton(GroupBox4, QStringLiteral("None"), false, 8, 48, 73, 17);

    GroupBox2 = place(new QGroupBox(QStringLiteral("New Station"), Panel2), 122, 7, 337, 86);
    Label6 = labelAt(GroupBox2, QStringLiteral("Label/Number"), 8, 24);
    Edit6 = edit(GroupBox2, QString(), 80, 16, 185, 21);
    Edit6->setMaxLength(StationLabelBytes);
    Edit6->setValidator(new AnsiValidator(Edit6));
    Label7 = labelAt(GroupBox2, QStringLiteral("Comment"), 8, 48);
    Edit7 = edit(GroupBox2, QString(), 56, 40, 209, 21);
    Edit7->setMaxLength(StationCommentBytes);
    Edit7->setValidator(new AnsiValidator(Edit7));
    ButtonAdd = pushButton(GroupBox2, QStringLiteral("Add"), 272, 16, 49, 49);
    ButtonAdd->setEnabled(false);
    CheckBox5 = checkBox(GroupBox2, QStringLiteral("New branch"), true, 8, 64, 97, 17);
    CheckBox5->setEnabled(false);
    Button11 = pushButton(GroupBox2, QStringLiteral("<"), 136, 64, 33, 17);
    Button11->setToolTip(QStringLiteral("Previous station"));
    Button11->hide();
    Button12 = pushButton(GroupBox2, QStringLiteral(">"), 176, 64, 33, 17);
    Button12->setToolTip(QStringLiteral("Next station"));
    Button12->hide();

    Button4 = pushButton(Panel2, QStringLiteral("Save left BMP"), 120, 105, 89, 25);
    Button8 = pushButton(Panel2, QStringLiteral("Save right BMP"), 224, 105, 81, 25);
    Panel3 = place(new TPanel(Panel2), 321, 107, 28, 27);
    BitBtn1 = pushButton(Panel3, QString(), 2, 0, 25, 25);
    BitBtn1->setIcon(Glyphs::icon(Glyphs::helpQuestion()));
    BitBtn1->setIconSize(QSize(16, 16));
    ButtonSaveProjectAs = pushButton(Panel2, QStringLiteral("Save Project As"), 367, 94, 91, 25);
    ButtonCloseProject = pushButton(Panel2, QStringLiteral("Close Project"), 368, 122, 91, 25);

    GroupBox3 = place(new QGroupBox(QStringLiteral("Mode"), Panel2), 472, 7, 81, 54);
    RadioButton1 = radioButton(GroupBox3, QStringLiteral("Add new"), true, 8, 16, 65, 17);
    RadioButton2 = radioButton(GroupBox3, QStringLiteral("Move"), false, 8, 32, 57, 17);
    RadioButton2->setEnabled(false);
    CheckBoxShowLabels = checkBox(Panel2, QStringLiteral("Show Labels"), true, 472, 65, 89, 17);
    CheckBoxShowLines = checkBox(Panel2, QStringLiteral("Show Lines"), true, 472, 82, 89, 19);
    Button6 = pushButton(Panel2, QStringLiteral("3D view"), 472, 105, 81, 25);
    Button6->setEnabled(false);

    GroupBox5 = place(new QGroupBox(QStringLiteral("Text data file"), Panel2), 562, 8, 209, 121);
    DataFormat = place(new TRadioGroup(QStringLiteral("Format"),
                                       {QStringLiteral("Lumaro: Label"), QStringLiteral("Lumaro: FromTo"),
                                        QStringLiteral("Survex")},
                                       GroupBox5),
                       4, 16, 97, 65);
    DataFormat->setItemIndex(1);
    DataStyle = place(new TRadioGroup(QStringLiteral("Style"), {QStringLiteral("Angle"), QStringLiteral("DepthChange")},
                                      GroupBox5),
                      104, 16, 97, 65);
    DataStyle->setItemIndex(0);
    Button5 = pushButton(GroupBox5, QStringLiteral("View"), 8, 88, 57, 25);
    Button7 = pushButton(GroupBox5, QStringLiteral("Save"), 72, 88, 57, 25);
    Button10 = pushButton(GroupBox5, QStringLiteral("Save as"), 136, 88, 65, 25);

    // ---- Status bar: three panels of 80 pixels; panel 0 is never written ----
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(true);
    setStatusBar(StatusBar1);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setFixedWidth(StatusPanelWidth);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(panel);
        m_statusPanels.append(panel);
    }
}

void TSpeomarkForm::nameControls()
{
    // Designer names, so tests and tools can find every control by the name cavers' notes use.
#define SPEOMARK_NAME(control) control->setObjectName(QStringLiteral(#control))
    SPEOMARK_NAME(GroupBox1);
    SPEOMARK_NAME(Panel1);
    SPEOMARK_NAME(OpenLeftBtn);
    SPEOMARK_NAME(CheckBoxLeftSetka);
    SPEOMARK_NAME(EditLeftSetka);
    SPEOMARK_NAME(Label1);
    SPEOMARK_NAME(EditLeftPixels);
    SPEOMARK_NAME(Label2);
    SPEOMARK_NAME(Button1);
    SPEOMARK_NAME(GridL2);
    SPEOMARK_NAME(GridL1);
    SPEOMARK_NAME(LeftMinus);
    SPEOMARK_NAME(LeftPlus);
    SPEOMARK_NAME(RightMinus);
    SPEOMARK_NAME(RightPlus);
    SPEOMARK_NAME(GridR1);
    SPEOMARK_NAME(GridR2);
    SPEOMARK_NAME(CheckBoxRightSetka);
    SPEOMARK_NAME(EditRightSetka);
    SPEOMARK_NAME(Label4);
    SPEOMARK_NAME(EditRightPixels);
    SPEOMARK_NAME(Label5);
    SPEOMARK_NAME(Button2);
    SPEOMARK_NAME(OpenRightBtn);
    SPEOMARK_NAME(ScrollBox1);
    SPEOMARK_NAME(Splitter1);
    SPEOMARK_NAME(ScrollBox2);
    SPEOMARK_NAME(ImageLeft);
    SPEOMARK_NAME(ImageRight);
    SPEOMARK_NAME(Panel2);
    SPEOMARK_NAME(LeftBox);
    SPEOMARK_NAME(Label3);
    SPEOMARK_NAME(EditPlanOrientationAngle);
    SPEOMARK_NAME(GroupBox4);
    SPEOMARK_NAME(RadioButton3);
    SPEOMARK_NAME(RadioButton4);
    SPEOMARK_NAME(RadioButton5);
    SPEOMARK_NAME(GroupBox2);
    SPEOMARK_NAME(Label6);
    SPEOMARK_NAME(Edit6);
    SPEOMARK_NAME(Label7);
    SPEOMARK_NAME(Edit7);
    SPEOMARK_NAME(ButtonAdd);
    SPEOMARK_NAME(CheckBox5);
    SPEOMARK_NAME(Button11);
    SPEOMARK_NAME(Button12);
    SPEOMARK_NAME(Button4);
    SPEOMARK_NAME(Button8);
    SPEOMARK_NAME(Panel3);
    SPEOMARK_NAME(BitBtn1);
    SPEOMARK_NAME(ButtonSaveProjectAs);
    SPEOMARK_NAME(ButtonCloseProject);
    SPEOMARK_NAME(GroupBox3);
    SPEOMARK_NAME(RadioButton1);
    SPEOMARK_NAME(RadioButton2);
    SPEOMARK_NAME(CheckBoxShowLabels);
    SPEOMARK_NAME(CheckBoxShowLines);
    SPEOMARK_NAME(Button6);
    SPEOMARK_NAME(GroupBox5);
    SPEOMARK_NAME(DataFormat);
    SPEOMARK_NAME(DataStyle);
    SPEOMARK_NAME(Button5);
    SPEOMARK_NAME(Button7);
    SPEOMARK_NAME(Button10);
    SPEOMARK_NAME(StatusBar1);
    SPEOMARK_NAME(File);
    SPEOMARK_NAME(OpenPlanLeftImage1);
    SPEOMARK_NAME(OpenProfileRightImage1);
    SPEOMARK_NAME(OpenProject1);
    SPEOMARK_NAME(SaveProjectAs1);
    SPEOMARK_NAME(CloseAll1);
#undef SPEOMARK_NAME
}

void TSpeomarkForm::createMenu()
{
    File = menuBar()->addMenu(QStringLiteral("&File"));
    OpenPlanLeftImage1 = File->addAction(QStringLiteral("Open Plan (Left Image)"));
    OpenProfileRightImage1 = File->addAction(QStringLiteral("Open Profile (Right Image)"));
    File->addSeparator();
    OpenProject1 = File->addAction(QStringLiteral("Open Existing Project"));
    SaveProjectAs1 = File->addAction(QStringLiteral("Save Project As"));
    File->addSeparator();
    CloseAll1 = File->addAction(QStringLiteral("Close All")); // has no action
}

void TSpeomarkForm::connectHandlers()
{
    // Every handler runs inside the guard, so an error ends the command and the program goes on.
    auto on = [this](auto *sender, auto signal, void (TSpeomarkForm::*handler)()) {
        connect(sender, signal, this, [this, handler] { guard([this, handler] { (this->*handler)(); }); });
    };
    on(OpenLeftBtn, &QToolButton::clicked, &TSpeomarkForm::OpenLeftBtnClick);
    on(OpenRightBtn, &QToolButton::clicked, &TSpeomarkForm::OpenRightBtnClick);
    on(OpenPlanLeftImage1, &QAction::triggered, &TSpeomarkForm::OpenLeftBtnClick);
    on(OpenProfileRightImage1, &QAction::triggered, &TSpeomarkForm::OpenRightBtnClick);
    on(LeftMinus, &QToolButton::clicked, &TSpeomarkForm::LeftMinusClick);
    on(LeftPlus, &QToolButton::clicked, &TSpeomarkForm::LeftPlusClick);
    on(RightMinus, &QToolButton::clicked, &TSpeomarkForm::RightMinusClick);
    on(RightPlus, &QToolButton::clicked, &TSpeomarkForm::RightPlusClick);
    on(CheckBoxLeftSetka, &QCheckBox::clicked, &TSpeomarkForm::CheckBoxLeftSetkaClick);
    on(CheckBoxRightSetka, &QCheckBox::clicked, &TSpeomarkForm::CheckBoxRightSetkaClick);
    on(Button1, &QPushButton::clicked, &TSpeomarkForm::Button1Click);
    on(Button2, &QPushButton::clicked, &TSpeomarkForm::Button2Click);
    on(GridL1, &TUpDown::clicked, &TSpeomarkForm::GridL1Click);
    on(GridL2, &TUpDown::clicked, &TSpeomarkForm::GridL2Click);
    on(GridR1, &TUpDown::clicked, &TSpeomarkForm::GridR1Click);
    on(GridR2, &TUpDown::clicked, &TSpeomarkForm::GridR2Click);
    auto onUpDownPress = [this](TUpDown *spinner, void (TSpeomarkForm::*handler)(Qt::MouseButton, Qt::KeyboardModifiers)) {
        connect(spinner, &TUpDown::mouseDown, this, [this, handler](Qt::MouseButton button, Qt::KeyboardModifiers shift) {
            guard([=] { (this->*handler)(button, shift); });
        });
    };
    onUpDownPress(GridL1, &TSpeomarkForm::GridL1MouseDown);
    onUpDownPress(GridL2, &TSpeomarkForm::GridL2MouseDown);
    onUpDownPress(GridR1, &TSpeomarkForm::GridR1MouseDown);
    onUpDownPress(GridR2, &TSpeomarkForm::GridR2MouseDown);

    auto onMouse = [this](TImagePane *image,
                          void (TSpeomarkForm::*down)(Qt::MouseButton, Qt::KeyboardModifiers, int, int),
                          void (TSpeomarkForm::*move)(Qt::KeyboardModifiers, int, int),
                          void (TSpeomarkForm::*up)(Qt::MouseButton, Qt::KeyboardModifiers, int, int)) {
        connect(image, &TImagePane::mouseDown, this, [this, down](Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
            guard([=] { (this->*down)(b, s, x, y); });
        });
        connect(image, &TImagePane::mouseMove, this, [this, move](Qt::KeyboardModifiers s, int x, int y) {
            guard([=] { (this->*move)(s, x, y); });
        });
        connect(image, &TImagePane::mouseUp, this, [this, up](Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
            guard([=] { (this->*up)(b, s, x, y); });
        });
    };
    onMouse(ImageLeft, &TSpeomarkForm::ImageLeftMouseDown, &TSpeomarkForm::ImageLeftMouseMove,
            &TSpeomarkForm::ImageLeftMouseUp);
    onMouse(ImageRight, &TSpeomarkForm::ImageRightMouseDown, &TSpeomarkForm::ImageRightMouseMove,
            &TSpeomarkForm::ImageRightMouseUp);

    on(ButtonAdd, &QPushButton::clicked, &TSpeomarkForm::ButtonAddClick);
    on(CheckBox5, &QCheckBox::clicked, &TSpeomarkForm::CheckBox5Click);
    on(CheckBoxShowLabels, &QCheckBox::clicked, &TSpeomarkForm::CheckBoxShowLabelsClick);
    on(CheckBoxShowLines, &QCheckBox::clicked, &TSpeomarkForm::CheckBoxShowLinesClick);
    // A radio button's handler runs when a click checks it, not when the checked one is clicked
    // again (re-entering "Add new" would otherwise replace the texts being typed).
    auto onChosen = [this](QRadioButton *button, void (TSpeomarkForm::*handler)()) {
        connect(button, &QRadioButton::pressed, this, [button] { button->setProperty("wasChecked", button->isChecked()); });
        connect(button, &QRadioButton::clicked, this, [this, button, handler] {
            if (!button->property("wasChecked").toBool())
                guard([this, handler] { (this->*handler)(); });
        });
    };
    onChosen(RadioButton3, &TSpeomarkForm::RadioButton3Click);
    onChosen(RadioButton5, &TSpeomarkForm::RadioButton5Click);
    onChosen(RadioButton1, &TSpeomarkForm::RadioButton1Click);
    onChosen(RadioButton2, &TSpeomarkForm::RadioButton2Click);
    on(Button11, &QPushButton::clicked, &TSpeomarkForm::Button11Click);
    on(Button12, &QPushButton::clicked, &TSpeomarkForm::Button12Click);

    on(Button5, &QPushButton::clicked, &TSpeomarkForm::Button5Click);
    on(Button7, &QPushButton::clicked, &TSpeomarkForm::Button7Click);
    on(Button10, &QPushButton::clicked, &TSpeomarkForm::SaveAsClick);
    on(Button4, &QPushButton::clicked, &TSpeomarkForm::Button4Click);
    on(Button8, &QPushButton::clicked, &TSpeomarkForm::Button8Click);

    on(OpenProject1, &QAction::triggered, &TSpeomarkForm::OpenProject1Click);
    on(SaveProjectAs1, &QAction::triggered, &TSpeomarkForm::SaveProjectAs1Click);
    on(ButtonSaveProjectAs, &QPushButton::clicked, &TSpeomarkForm::SaveProjectAs1Click);
    on(ButtonCloseProject, &QPushButton::clicked, &TSpeomarkForm::ButtonCloseProjectClick);
    on(BitBtn1, &QPushButton::clicked, &TSpeomarkForm::BitBtn1Click);

    connect(Splitter1, &TSplitter::dragged, this, [this](int leftWidth) {
        ScrollBox1->resize(leftWidth, ScrollBox1->height());
        layoutPanes();
    });
    on(Splitter1, &TSplitter::moved, &TSpeomarkForm::Splitter1Moved);
}

void TSpeomarkForm::layoutTopPanel()
{
    const int shift = Panel1->width();
    for (const auto &[control, fromRight] : std::as_const(m_rightAnchored))
        control->move(shift - fromRight, control->y());
}

void TSpeomarkForm::layoutPanes()
{
    const int top = GroupBoxBorder + Panel1Height + 1;
    const int height = std::max(0, GroupBox1->height() - top - GroupBoxBorder);
    const int room = std::max(0, GroupBox1->width() - 2 * PaneInset);
    const int leftWidth = std::clamp(ScrollBox1->width(), 0, std::max(0, room - TSplitter::Thickness));
    ScrollBox1->setGeometry(PaneInset, top, leftWidth, height);
    Splitter1->setGeometry(PaneInset + leftWidth, top, TSplitter::Thickness, height);
    const int rightWidth = std::max(0, room - leftWidth - TSplitter::Thickness);
    ScrollBox2->setGeometry(PaneInset + leftWidth + TSplitter::Thickness, top, rightWidth, height);
    Splitter1->setPaneRoom(leftWidth, leftWidth + rightWidth);
}

void TSpeomarkForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    QWidget *central = centralWidget();
    const int clientWidth = central->width();
    const int upperHeight = std::max(0, central->height() - Panel2Height);
    GroupBox1->setGeometry(0, 0, clientWidth, upperHeight);
    Panel1->setGeometry(GroupBoxBorder, GroupBoxBorder, std::max(0, clientWidth - 2 * GroupBoxBorder), Panel1Height);
    Panel2->setGeometry(0, upperHeight, clientWidth, Panel2Height);
    layoutTopPanel();
    guard([this] { FormResize(); });
    layoutPanes();
}

void TSpeomarkForm::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    guard([&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}
