#pragma once

#include "checks/CavernRun.h"
#include "checks/SurveyNetwork.h"
#include "checks/ui/CheckSource.h"
#include "views/ViewSnapshot.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QModelIndex;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class LegTableModel;
class QTabWidget;
class QTableView;
class QTableWidget;

// The survey check: every leg with its plan and profile lengths (sortable, flagged rows marked),
// the loops with their misclosures, the pieces and likely ties, the written report, and Survex's
// own view through cavern. It follows the survey while shown. The tolerance and "Show
// disagreement" live with the survey's source, so the views colour the same legs this table
// flags. Choosing a row asks for its station with stationChosen().
class SurveyCheckWindow : public QWidget
{
    Q_OBJECT
public:
    // Takes the source as its own.
    explicit SurveyCheckWindow(CheckSource *source, QWidget *parent = nullptr);

    void bringToFront();
    const SurveyNetwork &network() const { return m_network; }
    bool cavernRunning() const { return m_cavern.isRunning(); }
    // How long after an edit the check follows it.
    static constexpr int FollowMilliseconds = 150;

signals:
    // A row was chosen: the table index of the leg's "to" station, the station that closes the
    // loop, the first station of the piece, or the second station of a likely tie.
    void stationChosen(int index);
    // "Make a Tie" on a likely tie: the table entries of one station are to take `label`.
    void tieAsked(const QVector<int> &entries, const QString &label);
    // What the drawings should show of the check: the chosen traverse, the adjustment's arrows.
    void overlayChanged(const ViewOverlay &overlay);

public:
    // The overlay as it stands (empty until Survex has checked the survey).
    ViewOverlay overlay() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void surveyChanged(bool whatSurvexReads);
    void toleranceChanged();
    void refresh();
    void followSoon();
    void showSession();
    void fillLegs();
    void fillLoops();
    void fillPieces();
    void legRowChosen(const QModelIndex &index);
    void checkWithSurvex();
    void cavernFinished(const CavernResult &result);
    void showCavernAvailability();
    void showToleranceInMetres();
    void makeTie();
    void fillTraverses();
    void forgetAdjustment();

    CheckSource *m_source;
    SurveyNetwork m_network;
    bool m_stale = true;
    QTimer m_followTimer;
    CavernRun m_cavern;

    QCheckBox *m_fromDrawings = nullptr;
    QDoubleSpinBox *m_tolerancePixels = nullptr;
    QLabel *m_pixelsInMetres = nullptr;
    QPushButton *m_makeTie = nullptr;
    QDoubleSpinBox *m_toleranceMetres = nullptr;
    QDoubleSpinBox *m_tolerancePercent = nullptr;
    QCheckBox *m_showDisagreement = nullptr;
    QPushButton *m_survexButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QProgressBar *m_busy = nullptr;
    QLabel *m_summary = nullptr;
    QTabWidget *m_tabs = nullptr;
    LegTableModel *m_legModel = nullptr;
    QSortFilterProxyModel *m_legOrder = nullptr;
    QTableView *m_legTable = nullptr;
    QTableWidget *m_loopTable = nullptr;
    QTableWidget *m_pieceTable = nullptr;
    QTableWidget *m_tieTable = nullptr;
    QPlainTextEdit *m_report = nullptr;
    QPlainTextEdit *m_survexText = nullptr;
    QWidget *m_survexPage = nullptr;
    QTableWidget *m_traverseTable = nullptr;
    QCheckBox *m_showShifts = nullptr;
    QDoubleSpinBox *m_magnification = nullptr;
    // The last Survex check, while the survey is as it was then.
    QVector<CavernTraverse> m_traverses;
    QHash<QString, CavernPosition> m_adjusted;
    QVector<int> m_chosenLegEnds;
    Survey m_checkedSurvey; // what Survex read
};
