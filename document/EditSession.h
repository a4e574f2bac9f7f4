#pragma once

#include "document/SurveyDocument.h"

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QString>

enum class EditMode { Add, Move };

// The editing state that undo and redo bring back with the survey: the pending station's points
// and texts, the mode and selection, and the state of the controls the commands decide.
struct EditState
{
    bool pointPlaced[2] = {false, false};
    EditMode mode = EditMode::Add;
    int selected = 0;
    int insertBefore = -1;        // Add mode puts the pending station in before this one; -1 appends
    bool addModeEntered = false;
    QString labelEntry;
    QString commentEntry;
    QString parkedLabel;
    QString parkedComment;
    bool newBranchChecked = true;
    bool newBranchEnabled = false;
    bool addEnabled = false;
    bool lowerPanelEnabled = true;
    bool gridLocked[2] = {false, false};

    bool operator==(const EditState &) const = default;
};

// What the digitising session holds besides the survey, lost when the program ends: the points
// placed for the pending station, Add or Move mode and the selected station, the texts of the
// label and comment boxes (and the ones parked while moving), the state of "New branch", "Add"
// and the lower panel, which grid entries are locked by "OK", the last mouse presses, the survey
// data file's name and the project file's. Setters report changes with changed(), like the
// document's.
class EditSession : public QObject
{
    Q_OBJECT
public:
    enum Part {
        PendingPart = 0x01,   // points of the pending station
        ModePart = 0x02,      // mode and selection
        EntriesPart = 0x04,   // label and comment boxes
        NewBranchPart = 0x08,
        ControlsPart = 0x10,  // Add, the lower panel, grid locks
        DataFilePart = 0x20,
        ProjectPart = 0x40,   // the project file and whether the job changed since it was saved
        CheckPart = 0x80,     // "Show disagreement" and the survey check's tolerance
    };
    Q_DECLARE_FLAGS(Parts, Part)

    explicit EditSession(QObject *parent = nullptr);

    const EditState &state() const { return m_state; }
    // Brings back an earlier state (undo, redo); the press points and the file names stay.
    void restore(const EditState &state);

    bool pointPlaced(ViewSide side) const { return m_state.pointPlaced[int(side)]; }
    EditMode mode() const { return m_state.mode; }
    bool moving() const { return m_state.mode == EditMode::Move; }
    int selected() const { return m_state.selected; }
    // Add mode is putting a station in before this one (-1: appending as usual).
    int insertBefore() const { return m_state.insertBefore; }
    bool inserting() const { return m_state.insertBefore >= 0; }
    // The title of the station box follows the mode; "New Station" until Add mode is entered.
    bool addModeEntered() const { return m_state.addModeEntered; }
    const QString &labelEntry() const { return m_state.labelEntry; }
    const QString &commentEntry() const { return m_state.commentEntry; }
    // Texts typed for the pending station, kept aside while Move mode shows another station's
    // texts and the table is full (otherwise they are parked in the pending entry itself).
    const QString &parkedLabel() const { return m_state.parkedLabel; }
    const QString &parkedComment() const { return m_state.parkedComment; }
    bool newBranchChecked() const { return m_state.newBranchChecked; }
    bool newBranchEnabled() const { return m_state.newBranchEnabled; }
    bool addEnabled() const { return m_state.addEnabled; }
    // False after a scale entry was refused: the lower panel is disabled until both are usable.
    bool lowerPanelEnabled() const { return m_state.lowerPanelEnabled; }
    // "OK" pressed: the grid entries are locked and the button reads "Change".
    bool gridLocked(ViewSide side) const { return m_state.gridLocked[int(side)]; }
    QPoint pressPoint(ViewSide side) const { return m_pressPoint[int(side)]; } // displayed pixels
    // Where a placing click held down would put its point (after snapping), source pixels; shown
    // before the button is released.
    bool previewShown(ViewSide side) const { return m_previewShown[int(side)]; }
    QPointF preview(ViewSide side) const { return m_preview[int(side)]; }
    // The last survey data file saved, without its extension; empty until the first Save.
    const QString &dataFileName() const { return m_dataFileName; }
    // The survey check: legs whose plan and profile lengths differ by more than a few clicks' error
    // at the sheets' scales (or, with no pixels set, the larger of toleranceMetres and
    // tolerancePercent of the longer) are coloured on both views when shown.
    bool showDisagreement() const { return m_showDisagreement; }
    // Pixels a click may be off on the drawings; 0: metres and percent rule instead.
    double tolerancePixels() const { return m_tolerancePixels; }
    double toleranceMetres() const { return m_toleranceMetres; }
    double tolerancePercent() const { return m_tolerancePercent; }
    // The project file the job was opened from or last saved to; empty for a new job.
    const QString &projectPath() const { return m_projectPath; }
    // The job changed since it was opened or saved as a project.
    bool projectChanged() const { return m_projectChanged; }
    // A digest of the project file's bytes as this job last read or wrote them, so a save can
    // tell that another program changed the file since; empty when the job has no file.
    const QByteArray &projectDigest() const { return m_projectDigest; }

    void setPointPlaced(ViewSide side, bool placed);
    void setMode(EditMode mode);
    void setSelected(int index);
    void setInsertBefore(int index);
    void setAddModeEntered(bool entered);
    void setEntries(const QString &label, const QString &comment);
    void setLabelEntry(const QString &label);
    void setCommentEntry(const QString &comment);
    void setParked(const QString &label, const QString &comment);
    void setNewBranchChecked(bool checked);
    void setNewBranchEnabled(bool enabled);
    void setAddEnabled(bool enabled);
    void setLowerPanelEnabled(bool enabled);
    void setGridLocked(ViewSide side, bool locked);
    void setPressPoint(ViewSide side, QPoint point);
    void setPreview(ViewSide side, bool shown, QPointF at = QPointF());
    void setDataFileName(const QString &name);
    void setShowDisagreement(bool shown);
    void setTolerance(double pixels, double metres, double percent);
    void setProject(const QString &path, bool changed, const QByteArray &digest = QByteArray());
    void setProjectChanged(bool changed);

    void beginChanges();
    void endChanges();

signals:
    void changed(EditSession::Parts parts);

private:
    template <class T> void set(T &field, const T &value, Part part);
    void notify(Parts parts);

    EditState m_state;
    QPoint m_pressPoint[2];
    bool m_previewShown[2] = {false, false};
    QPointF m_preview[2];
    QString m_dataFileName;
    bool m_showDisagreement = false;
    double m_tolerancePixels = 3.0;
    double m_toleranceMetres = 0.5;
    double m_tolerancePercent = 5.0;
    QString m_projectPath;
    bool m_projectChanged = false;
    QByteArray m_projectDigest;
    int m_batchDepth = 0;
    Parts m_batched;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(EditSession::Parts)

// Groups the changes one command makes to the document and the session, so each reports once.
class ChangeBatch
{
public:
    ChangeBatch(SurveyDocument &document, EditSession &session) : m_document(document), m_session(session)
    {
        m_document.beginChanges();
        m_session.beginChanges();
    }
    ~ChangeBatch()
    {
        m_document.endChanges();
        m_session.endChanges();
    }
    ChangeBatch(const ChangeBatch &) = delete;
    ChangeBatch &operator=(const ChangeBatch &) = delete;

private:
    SurveyDocument &m_document;
    EditSession &m_session;
};
