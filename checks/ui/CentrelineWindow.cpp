#include "checks/ui/CentrelineWindow.h"

#include "checks/ui/SurveyCheckWindow.h"

#include "survey/CountedText.h"
#include "checks/SurveyNetwork.h"
#include "checks/ui/CentrelineView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CentrelineWindow::CentrelineWindow(CheckSource *source, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(source)
{
    m_source->setParent(this);
    setWindowTitle(tr("3D view"));
    resize(760, 600);
    m_view = new CentrelineView;

    auto preset = [this](const QString &caption, const QString &tip, CentrelineCamera (*camera)()) {
        auto *button = new QPushButton(caption);
        button->setAccessibleName(caption);
        button->setToolTip(tip);
        button->setFocusPolicy(Qt::NoFocus); // keys go on reaching the view
        connect(button, &QPushButton::clicked, this, [this, camera] { m_view->look(camera()); });
        return button;
    };
    m_labels = new QCheckBox(tr("Labels"));
    m_labels->setAccessibleName(m_labels->text());
    m_labels->setFocusPolicy(Qt::NoFocus);
    m_status = new QLabel;
    m_status->setAccessibleName(tr("3D view status"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(preset(tr("Plan (P)"), tr("Look down on the survey, north up"), &CentrelineCamera::plan));
    buttons->addWidget(preset(tr("North-facing (N)"), tr("Elevation looking north, east to the right"),
                              &CentrelineCamera::northFacing));
    buttons->addWidget(
        preset(tr("East-facing (E)"), tr("Elevation looking east, south to the right"), &CentrelineCamera::eastFacing));
    buttons->addWidget(m_labels);
    buttons->addStretch(1);
    buttons->addWidget(m_status);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_view, 1);
    auto *hint = new QLabel(tr("Drag to turn, wheel to zoom at the cursor."));
    layout->addWidget(hint);

    connect(m_labels, &QCheckBox::toggled, m_view, &CentrelineView::setLabelsShown);
    // The view follows the edits a moment later, once for a whole run of them.
    m_followTimer.setSingleShot(true);
    m_followTimer.setInterval(SurveyCheckWindow::FollowMilliseconds);
    connect(&m_followTimer, &QTimer::timeout, this, [this] {
        if (m_stale && isVisible())
            rebuild();
    });
    const auto followSoon = [this] {
        m_stale = true;
        if (isVisible() && !m_followTimer.isActive())
            m_followTimer.start();
    };
    connect(m_source, &CheckSource::surveyChanged, this, followSoon);
    connect(m_source, &CheckSource::toleranceChanged, this, followSoon);
}

void CentrelineWindow::bringToFront()
{
    show();
    raise();
    activateWindow();
    m_view->setFocus();
}

void CentrelineWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        rebuild();
}

void CentrelineWindow::rebuild()
{
    QString problem;
    const std::optional<Survey> survey = m_source->surveyIfMade(&problem);
    const Survey none;
    const Survey &shown = survey ? *survey : none;
    const SurveyNetwork network = SurveyNetwork::build(shown.stations, CheckSettings::of(shown, m_source->tolerance()));
    m_view->setScene(CentrelineScene::of(network));
    m_stale = false;
    if (!survey) {
        m_status->setText(problem);
        return;
    }
    const char *const context = "CentrelineWindow";
    m_status->setText(QStringLiteral("%1, %2, %3")
                          .arg(countedText(context, QT_TRANSLATE_N_NOOP("CentrelineWindow", "%n stations"),
                                           "%n station", network.positions.size()),
                               countedText(context, QT_TRANSLATE_N_NOOP("CentrelineWindow", "%n legs"), "%n leg",
                                           network.legs.size()),
                               countedText(context, QT_TRANSLATE_N_NOOP("CentrelineWindow", "%n loops"), "%n loop",
                                           network.loops.size())));
}
