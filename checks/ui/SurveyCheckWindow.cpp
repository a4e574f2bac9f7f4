#include "checks/ui/SurveyCheckWindow.h"

#include "survey/CountedText.h"
#include "checks/AdjustedSurvey.h"
#include "checks/CheckReport.h"
#include "checks/ui/LegTableModel.h"
#include "output/Exporter.h"
#include "output/SurveyText.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QColor FlaggedRow(0xFF, 0xD8, 0xA8);  // a pale shade of the views' disagreement orange
const QColor ZeroLengthRow(0xFF, 0xF3, 0xB0);
const int StationRole = LegTableModel::StationRole;

QString number(double value) { return QString::fromLatin1(CheckReport::fixed2(value)); }

QTableWidget *listTable(const QString &name, const QStringList &headers)
{
    auto *table = new QTableWidget(0, int(headers.size()));
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget *table, int row, const QStringList &texts, int station, const QColor &background)
{
    for (int column = 0; column < texts.size(); ++column) {
        auto *item = new QTableWidgetItem(texts[column]);
        item->setData(StationRole, station);
        if (background.isValid())
            item->setBackground(background);
        table->setItem(row, column, item);
    }
}

} // namespace

SurveyCheckWindow::SurveyCheckWindow(CheckSource *source, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(source)
{
    m_source->setParent(this);
    setWindowTitle(tr("Survey Check"));
    resize(900, 560);

    auto *toleranceLabel = new QLabel(tr("Tolerance:"));
    m_fromDrawings = new QCheckBox(tr("Clicks within"));
    m_fromDrawings->setAccessibleName(tr("Tolerance from the drawings' scales"));
    m_fromDrawings->setToolTip(tr("A leg or a loop may be off by what clicks this far from the drawn marks "
                                  "come to at each sheet's scale"));
    m_tolerancePixels = new QDoubleSpinBox;
    m_tolerancePixels->setRange(0.5, 100.0);
    m_tolerancePixels->setDecimals(1);
    m_tolerancePixels->setSingleStep(0.5);
    m_tolerancePixels->setValue(LegTolerance::DefaultPixels);
    m_tolerancePixels->setSuffix(tr(" px"));
    m_tolerancePixels->setAccessibleName(tr("Tolerance in pixels of a click"));
    m_pixelsInMetres = new QLabel;
    m_pixelsInMetres->setAccessibleName(tr("Tolerance from the drawings in metres"));
    auto *elseLabel = new QLabel(tr("else"));
    m_toleranceMetres = new QDoubleSpinBox;
    m_toleranceMetres->setRange(0.0, 1000.0);
    m_toleranceMetres->setDecimals(2);
    m_toleranceMetres->setSingleStep(0.1);
    m_toleranceMetres->setSuffix(tr(" m"));
    m_toleranceMetres->setAccessibleName(tr("Tolerance in metres"));
    auto *orLabel = new QLabel(tr("or"));
    m_tolerancePercent = new QDoubleSpinBox;
    m_tolerancePercent->setRange(0.0, 100.0);
    m_tolerancePercent->setDecimals(1);
    m_tolerancePercent->setSingleStep(1.0);
    m_tolerancePercent->setSuffix(tr(" %"));
    m_tolerancePercent->setAccessibleName(tr("Tolerance in percent of the longer length"));
    auto *largerLabel = new QLabel(tr("of the longer length, whichever is larger"));
    m_showDisagreement = new QCheckBox(tr("Show disagreement"));
    m_showDisagreement->setObjectName(QStringLiteral("showDisagreementBox"));
    m_showDisagreement->setAccessibleName(m_showDisagreement->text());
    m_showDisagreement->setToolTip(tr("Colour the flagged legs orange on the plan and the profile"));

    m_survexButton = new QPushButton(tr("Check with Survex"));
    m_cancelButton = new QPushButton(tr("Cancel"));
    m_cancelButton->setAccessibleName(tr("Cancel the Survex check"));
    m_cancelButton->hide();
    m_busy = new QProgressBar;
    m_busy->setRange(0, 0); // busy, with no end known
    m_busy->setMaximumWidth(120);
    m_busy->setAccessibleName(tr("Survex is working"));
    m_busy->hide();

    auto *controls = new QHBoxLayout;
    controls->addWidget(toleranceLabel);
    controls->addWidget(m_fromDrawings);
    controls->addWidget(m_tolerancePixels);
    controls->addWidget(m_pixelsInMetres);
    controls->addWidget(elseLabel);
    controls->addWidget(m_toleranceMetres);
    controls->addWidget(orLabel);
    controls->addWidget(m_tolerancePercent);
    controls->addWidget(largerLabel);
    controls->addSpacing(16);
    controls->addWidget(m_showDisagreement);
    controls->addStretch(1);
    controls->addWidget(m_busy);
    controls->addWidget(m_cancelButton);
    controls->addWidget(m_survexButton);

    m_summary = new QLabel;
    m_summary->setAccessibleName(tr("Check result"));
    m_summary->setWordWrap(true);

    m_legModel = new LegTableModel({tr("From"), tr("To"), tr("Tape m"), tr("Compass °"), tr("Clino °"),
                                    tr("Depth change m"), tr("Plan horiz. m"), tr("Profile horiz. m"),
                                    tr("Difference m"), tr("Difference %"), tr("Flag"), tr("Comment"),
                                    tr("Left m"), tr("Right m"), tr("Up m"), tr("Down m")},
                                   tr("disagrees"), tr("zero length"), this);
    m_legOrder = new QSortFilterProxyModel(this);
    m_legOrder->setSourceModel(m_legModel);
    m_legOrder->setSortRole(LegTableModel::SortRole);
    m_legOrder->setDynamicSortFilter(true);
    m_legTable = new QTableView;
    m_legTable->setObjectName(QStringLiteral("legTable"));
    m_legTable->setAccessibleName(tr("Legs"));
    m_legTable->setModel(m_legOrder);
    m_legTable->setSortingEnabled(true);
    m_legTable->sortByColumn(-1, Qt::AscendingOrder); // table order until a header is clicked
    m_legTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_legTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_legTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_legTable->verticalHeader()->setVisible(false);
    m_legTable->verticalHeader()->setDefaultSectionSize(m_legTable->fontMetrics().height() + 6);
    m_legTable->horizontalHeader()->setStretchLastSection(true);

    m_loopTable =
        listTable(tr("Loops"), {tr("Closed at"), tr("Entry"), tr("dE m"), tr("dN m"), tr("dZ m"), tr("Misclosure m"),
                                tr("Loop length m"), tr("Legs"), tr("Error %"), tr("Flag")});
    m_pieceTable = listTable(tr("Pieces"), {tr("First station"), tr("Entry"), tr("Stations"), tr("Tied")});
    m_tieTable = listTable(tr("Likely ties"), {tr("Station"), tr("Entry"), tr("Station"), tr("Entry")});
    auto *piecesPage = new QWidget;
    auto *piecesLayout = new QVBoxLayout(piecesPage);
    piecesLayout->addWidget(m_pieceTable, 1);
    m_makeTie = new QPushButton(tr("Make a Tie"));
    m_makeTie->setAccessibleName(tr("Make the chosen likely tie one station"));
    m_makeTie->setToolTip(tr("Gives the second station the first one's name, so the survey is joined there"));
    m_makeTie->setEnabled(false);
    auto *tieRow = new QHBoxLayout;
    tieRow->addWidget(new QLabel(tr("Likely ties: stations with different names at one point of the plan "
                                    "and at one depth, not joined by a leg")),
                      1);
    tieRow->addWidget(m_makeTie);
    piecesLayout->addLayout(tieRow);
    piecesLayout->addWidget(m_tieTable, 1);

    m_report = new QPlainTextEdit;
    m_report->setAccessibleName(tr("Report"));
    m_report->setReadOnly(true);
    m_survexText = new QPlainTextEdit;
    m_survexText->setAccessibleName(tr("Survex messages"));
    m_survexText->setReadOnly(true);
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::Monospace);
    m_report->setFont(fixed);
    m_survexText->setFont(fixed);

    m_tabs = new QTabWidget;
    m_tabs->setAccessibleName(tr("Survey check"));
    m_tabs->addTab(m_legTable, tr("Legs"));
    m_tabs->addTab(m_loopTable, tr("Loops"));
    m_tabs->addTab(piecesPage, tr("Pieces"));
    m_tabs->addTab(m_report, tr("Report"));
    m_showShifts = new QCheckBox(tr("Show the adjustment on the drawings"));
    m_showShifts->setAccessibleName(m_showShifts->text());
    m_showShifts->setToolTip(tr("An arrow from each station to where Survex puts it once the loops are adjusted "
                                "(on the profile, the vertical part)"));
    m_showShifts->setChecked(true);
    m_magnification = new QDoubleSpinBox;
    m_magnification->setRange(1.0, 1000.0);
    m_magnification->setDecimals(0);
    m_magnification->setValue(10.0);
    m_magnification->setPrefix(QStringLiteral("x "));
    m_magnification->setAccessibleName(tr("Magnification of the adjustment's arrows"));
    m_magnification->setKeyboardTracking(false);
    m_traverseTable = listTable(tr("Traverses adjusted in loops"),
                                {tr("Traverse"), tr("Length m"), tr("Legs"), tr("Moved m"), tr("Error %"),
                                 tr("Deviations per leg"), tr("Horizontal"), tr("Vertical")});
    m_traverseTable->horizontalHeader()->setStretchLastSection(false);
    m_traverseTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_survexPage = new QWidget;
    auto *survexLayout = new QVBoxLayout(m_survexPage);
    auto *shiftRow = new QHBoxLayout;
    shiftRow->addWidget(m_showShifts);
    shiftRow->addWidget(m_magnification);
    shiftRow->addStretch(1);
    survexLayout->addLayout(shiftRow);
    survexLayout->addWidget(m_traverseTable, 1);
    survexLayout->addWidget(m_survexText, 1);
    m_tabs->addTab(m_survexPage, tr("Survex"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_summary);
    layout->addWidget(m_tabs, 1);

    // The tolerance is applied once typing ends, not at every keystroke.
    m_tolerancePixels->setKeyboardTracking(false);
    m_toleranceMetres->setKeyboardTracking(false);
    m_tolerancePercent->setKeyboardTracking(false);
    auto toleranceEdited = [this] {
        LegTolerance tolerance;
        tolerance.pixels = m_fromDrawings->isChecked() ? m_tolerancePixels->value() : 0.0;
        tolerance.metres = m_toleranceMetres->value();
        tolerance.percent = m_tolerancePercent->value();
        m_source->setTolerance(tolerance);
    };
    connect(m_fromDrawings, &QCheckBox::toggled, this, toleranceEdited);
    connect(m_tolerancePixels, &QDoubleSpinBox::valueChanged, this, toleranceEdited);
    connect(m_toleranceMetres, &QDoubleSpinBox::valueChanged, this, toleranceEdited);
    connect(m_tolerancePercent, &QDoubleSpinBox::valueChanged, this, toleranceEdited);
    connect(m_tieTable, &QTableWidget::itemSelectionChanged, this,
            [this] { m_makeTie->setEnabled(!m_tieTable->selectedItems().isEmpty()); });
    connect(m_makeTie, &QPushButton::clicked, this, &SurveyCheckWindow::makeTie);
    connect(m_showShifts, &QCheckBox::toggled, this, [this] { emit overlayChanged(overlay()); });
    connect(m_magnification, &QDoubleSpinBox::valueChanged, this, [this] { emit overlayChanged(overlay()); });
    connect(m_traverseTable, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem *> chosen = m_traverseTable->selectedItems();
        const int row = chosen.isEmpty() ? -1 : chosen.first()->row();
        const std::optional<Survey> survey = row >= 0 && row < m_traverses.size() ? m_source->surveyIfMade()
                                                                                 : std::nullopt;
        m_chosenLegEnds =
            survey ? AdjustedSurvey::traverseLegEnds(*survey, m_traverses[row].stations) : QVector<int>();
        emit overlayChanged(overlay());
        if (!m_chosenLegEnds.isEmpty())
            emit stationChosen(m_chosenLegEnds.constFirst() - 1);
    });
    connect(m_showDisagreement, &QCheckBox::toggled, this, [this](bool on) { m_source->setShowDisagreement(on); });
    connect(m_legTable, &QTableView::clicked, this, &SurveyCheckWindow::legRowChosen);
    connect(m_legTable, &QTableView::activated, this, &SurveyCheckWindow::legRowChosen);
    for (QTableWidget *table : {m_loopTable, m_pieceTable, m_tieTable})
        connect(table, &QTableWidget::cellClicked, this, [this, table](int row, int column) {
            if (const QTableWidgetItem *item = table->item(row, column))
                emit stationChosen(item->data(StationRole).toInt());
        });
    connect(m_survexButton, &QPushButton::clicked, this, &SurveyCheckWindow::checkWithSurvex);
    connect(m_cancelButton, &QPushButton::clicked, &m_cavern, &CavernRun::cancel);
    connect(&m_cavern, &CavernRun::finished, this, &SurveyCheckWindow::cavernFinished);
    connect(m_source, &CheckSource::surveyChanged, this, &SurveyCheckWindow::surveyChanged);
    connect(m_source, &CheckSource::toleranceChanged, this, &SurveyCheckWindow::toleranceChanged);

    m_followTimer.setSingleShot(true);
    m_followTimer.setInterval(FollowMilliseconds);
    connect(&m_followTimer, &QTimer::timeout, this, [this] {
        if (m_stale && isVisible())
            refresh();
    });

    showSession();
    showCavernAvailability();
}

void SurveyCheckWindow::bringToFront()
{
    show();
    raise();
    activateWindow();
}

void SurveyCheckWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showCavernAvailability(); // Survex may have been installed meanwhile
    if (m_stale)
        refresh();
}

void SurveyCheckWindow::surveyChanged(bool whatSurvexReads)
{
    followSoon();
    // Survex's figures belong to the survey it read (choosing a station to show it changes
    // nothing of that).
    if (whatSurvexReads && (!m_adjusted.isEmpty() || !m_traverses.isEmpty())
        && m_source->surveyIfMade() != std::optional<Survey>(m_checkedSurvey))
        forgetAdjustment();
}

void SurveyCheckWindow::forgetAdjustment()
{
    if (m_traverses.isEmpty() && m_adjusted.isEmpty() && m_chosenLegEnds.isEmpty())
        return;
    m_traverses.clear();
    m_adjusted.clear();
    m_chosenLegEnds.clear();
    fillTraverses();
    emit overlayChanged(overlay());
}

ViewOverlay SurveyCheckWindow::overlay() const
{
    ViewOverlay overlay;
    overlay.chosenLegEnds = m_chosenLegEnds;
    const std::optional<Survey> made =
        !m_adjusted.isEmpty() && m_showShifts->isChecked() ? m_source->surveyIfMade() : std::nullopt;
    if (made) {
        const Survey &survey = *made;
        const SurveyNetwork network = SurveyNetwork::build(survey.stations, CheckSettings::of(survey, m_source->tolerance()));
        const QVector<AdjustedSurvey::Shift> shifts = AdjustedSurvey::shifts(survey, network, m_adjusted);
        overlay.planShifts = AdjustedSurvey::planPixels(shifts, survey, network.settings, m_magnification->value());
        overlay.profileShifts = AdjustedSurvey::profilePixels(shifts, survey, network.settings, m_magnification->value());
    }
    return overlay;
}

void SurveyCheckWindow::fillTraverses()
{
    const QSignalBlocker quiet(m_traverseTable);
    m_traverseTable->setRowCount(int(m_traverses.size()));
    const auto deviations = [](double value) { return value < 0.0 ? QString() : number(value); };
    for (int row = 0; row < m_traverses.size(); ++row) {
        const CavernTraverse &t = m_traverses[row];
        setRow(m_traverseTable, row,
               {t.stations, number(t.length), QString::number(t.legs), number(t.moved), number(t.errorPercent),
                deviations(t.deviations), deviations(t.horizontal), deviations(t.vertical)},
               -1, QColor());
    }
}

void SurveyCheckWindow::toleranceChanged()
{
    showSession();
    followSoon();
}

void SurveyCheckWindow::followSoon()
{
    // The check follows the edits a moment later, once for a whole run of them (every step of a
    // drag), so the edit itself never waits for it.
    m_stale = true;
    if (isVisible() && !m_followTimer.isActive())
        m_followTimer.start();
}

void SurveyCheckWindow::showSession()
{
    const QSignalBlocker quietFrom(m_fromDrawings);
    const QSignalBlocker quietPixels(m_tolerancePixels);
    const QSignalBlocker quietMetres(m_toleranceMetres);
    const QSignalBlocker quietPercent(m_tolerancePercent);
    const QSignalBlocker quietShow(m_showDisagreement);
    const LegTolerance tolerance = m_source->tolerance();
    const bool fromDrawings = tolerance.pixels > 0.0;
    m_fromDrawings->setChecked(fromDrawings);
    if (fromDrawings)
        m_tolerancePixels->setValue(tolerance.pixels);
    m_tolerancePixels->setEnabled(fromDrawings);
    m_toleranceMetres->setValue(tolerance.metres);
    m_tolerancePercent->setValue(tolerance.percent);
    m_showDisagreement->setChecked(m_source->showDisagreement());
}

void SurveyCheckWindow::refresh()
{
    // The check reads the survey every writer writes, so a north that stops the writers stops it.
    QString problem;
    const std::optional<Survey> survey = m_source->surveyIfMade(&problem);
    const Survey none;
    const Survey &checked = survey ? *survey : none;
    m_network = SurveyNetwork::build(checked.stations, CheckSettings::of(checked, m_source->tolerance()));
    m_stale = false;
    showToleranceInMetres();

    fillLegs();
    fillLoops();
    fillPieces();
    const QString report = CheckReport::text(m_network);
    m_report->setPlainText(report);
    QString summary = report.section(QLatin1Char('\n'), -2, -2); // the verdict, the report's last line
    const char *const context = "SurveyCheckWindow";
    summary = QStringLiteral("%1, %2, %3. %4")
                  .arg(countedText(context, QT_TRANSLATE_N_NOOP("SurveyCheckWindow", "%n legs"), "%n leg",
                                   m_network.legs.size()),
                       countedText(context, QT_TRANSLATE_N_NOOP("SurveyCheckWindow", "%n loops"), "%n loop",
                                   m_network.loops.size()),
                       countedText(context, QT_TRANSLATE_N_NOOP("SurveyCheckWindow", "%n pieces"), "%n piece",
                                   m_network.pieces.size()),
                       summary);
    if (!survey) {
        summary = tr("%1; the survey cannot be checked.").arg(problem);
        m_report->setPlainText(summary);
    }
    m_summary->setText(summary);
}

void SurveyCheckWindow::fillLegs()
{
    const int scrolled = m_legTable->verticalScrollBar()->value();
    const bool firstRows = m_legModel->rowCount() == 0;
    m_legModel->setLegs(m_network.legs);
    // Column widths follow the first legs shown; measuring every cell at every edit would not pay.
    if (firstRows)
        m_legTable->resizeColumnsToContents();
    m_legTable->verticalScrollBar()->setValue(scrolled);
}

void SurveyCheckWindow::fillLoops()
{
    m_loopTable->setRowCount(int(m_network.loops.size()));
    for (int row = 0; row < m_network.loops.size(); ++row) {
        const SurveyLoop &loop = m_network.loops[row];
        setRow(m_loopTable, row,
               {loop.name, QString::number(loop.station), number(loop.dEast), number(loop.dNorth), number(loop.dUp),
                number(loop.misclosure), number(loop.length), QString::number(loop.legs.size()),
                number(loop.errorPercent), loop.flagged ? tr("beyond tolerance") : QString()},
               loop.station, loop.flagged ? FlaggedRow : QColor());
    }
    m_loopTable->resizeColumnsToContents();
}

void SurveyCheckWindow::fillPieces()
{
    m_pieceTable->setRowCount(int(m_network.pieces.size()));
    for (int row = 0; row < m_network.pieces.size(); ++row) {
        const SurveyPiece &piece = m_network.pieces[row];
        setRow(m_pieceTable, row,
               {piece.firstName, QString::number(piece.firstStation), QString::number(piece.stationCount),
                piece.tied ? tr("yes") : tr("not tied")},
               piece.firstStation, piece.tied ? QColor() : FlaggedRow);
    }
    m_pieceTable->resizeColumnsToContents();
    m_tieTable->setRowCount(int(m_network.likelyTies.size()));
    for (int row = 0; row < m_network.likelyTies.size(); ++row) {
        const LikelyTie &tie = m_network.likelyTies[row];
        setRow(m_tieTable, row,
               {tie.firstName, QString::number(tie.first), tie.secondName, QString::number(tie.second)}, tie.second,
               FlaggedRow);
    }
    m_tieTable->resizeColumnsToContents();
}

// What the pixels come to at the first plan and profile sheets' scales, so a caver sees the
// tolerance in metres too.
void SurveyCheckWindow::showToleranceInMetres()
{
    const CheckSettings &settings = m_network.settings;
    const LegTolerance &tolerance = settings.tolerance;
    const double plan = settings.examplePlanScale(), profile = settings.exampleProfileScale();
    const double metres = tolerance.fromDrawing() ? tolerance.ofClicks({plan, plan, profile, profile}) : -1.0;
    m_pixelsInMetres->setText(metres >= 0.0 ? tr("(%1 m on a leg)").arg(number(metres)) : QString());
}

void SurveyCheckWindow::makeTie()
{
    const QList<QTableWidgetItem *> chosen = m_tieTable->selectedItems();
    if (chosen.isEmpty())
        return;
    const int row = chosen.first()->row();
    if (row < 0 || row >= m_network.likelyTies.size())
        return;
    const LikelyTie &tie = m_network.likelyTies[row];
    // Every entry of the station is renamed, or the survey would still part where it is used again.
    QVector<int> entries{tie.second};
    for (const RepeatedStation &station : std::as_const(m_network.repeated))
        if (station.entries.contains(tie.second))
            entries = station.entries;
    emit tieAsked(entries, tie.firstName);
}

void SurveyCheckWindow::legRowChosen(const QModelIndex &index)
{
    if (index.isValid())
        emit stationChosen(index.data(LegTableModel::StationRole).toInt());
}

void SurveyCheckWindow::showCavernAvailability()
{
    const bool found = !CavernRun::findCavern().isEmpty();
    m_survexButton->setText(found ? tr("Check with Survex") : CavernRun::installHint());
    m_survexButton->setAccessibleName(m_survexButton->text());
    m_survexButton->setEnabled(found && !m_cavern.isRunning());
}

void SurveyCheckWindow::checkWithSurvex()
{
    const QString cavern = CavernRun::findCavern();
    if (cavern.isEmpty()) {
        showCavernAvailability();
        return;
    }
    m_tabs->setCurrentWidget(m_survexPage);
    forgetAdjustment();
    QString problem;
    const std::optional<Survey> survey = m_source->surveyIfMade(&problem);
    if (!survey) {
        m_survexText->setPlainText(tr("%1; the Survex text cannot be made.").arg(problem));
        return;
    }
    // What Save writes: every sheet's north, the details, each piece fixed where it is drawn.
    const SurveyText text = Exporter::text(*survey, ExportFormat::Survex);
    if (!text.complete()) {
        m_survexText->setPlainText(tr("%1 in the leg from station %2 to station %3; the Survex text "
                                      "cannot be made.")
                                       .arg(text.error, text.failedFromName, text.failedToName));
        return;
    }
    m_survexText->setPlainText(tr("cavern is reading the survey..."));
    m_checkedSurvey = *survey;
    m_survexButton->setEnabled(false);
    m_busy->show();
    m_cancelButton->show();
    m_cavern.start(text.fileBytes(), cavern);
}

void SurveyCheckWindow::cavernFinished(const CavernResult &result)
{
    m_busy->hide();
    m_cancelButton->hide();
    showCavernAvailability();
    if (result.cancelled) {
        m_survexText->setPlainText(tr("Cancelled."));
        return;
    }
    QString text;
    if (!result.started)
        text = result.messages;
    else if (!result.succeeded())
        text = tr("cavern found errors (exit status %1):\n\n%2").arg(result.exitCode).arg(result.messages);
    else {
        text = result.loopSummary + QStringLiteral("\n");
        m_traverses = result.traverses;
        m_adjusted = result.positions;
        fillTraverses();
        emit overlayChanged(overlay());
        text += tr("\nEverything cavern printed:\n\n") + result.messages;
    }
    m_survexText->setPlainText(text);
}
