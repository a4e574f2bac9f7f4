#pragma once

#include "app/SurveyDocument.h"

#include <QObject>
#include <QPoint>
#include <QString>

enum class EditMode { Add, Move };

// What the digitising session holds besides the survey, lost when the program ends: the points
// placed for the pending station, Add or Move mode and the selected station, the texts of the
// label and comment boxes (and the ones parked while moving), the state of "New branch", "Add"
// and the lower panel, which grid entries are locked by "OK", the last mouse presses and the
// survey data file's name. Setters report changes with changed(), like the document's.
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
    };
    Q_DECLARE_FLAGS(Parts, Part)

    explicit EditSession(QObject *parent = nullptr);

    bool pointPlaced(ViewSide side) const { return m_pointPlaced[int(side)]; }
    EditMode mode() const { return m_mode; }
    bool moving() const { return m_mode == EditMode::Move; }
    int selected() const { return m_selected; }
    // The title of the station box follows the mode; "New Station" until Add mode is entered.
    bool addModeEntered() const { return m_addModeEntered; }
    const QString &labelEntry() const { return m_labelEntry; }
    const QString &commentEntry() const { return m_commentEntry; }
    // Texts typed for the pending station, kept aside while Move mode shows another station's
    // texts and the table is full (otherwise they are parked in the pending entry itself).
    const QString &parkedLabel() const { return m_parkedLabel; }
    const QString &parkedComment() const { return m_parkedComment; }
    bool newBranchChecked() const { return m_newBranchChecked; }
    bool newBranchEnabled() const { return m_newBranchEnabled; }
    bool addEnabled() const { return m_addEnabled; }
    // False after a scale entry was refused: the lower panel is disabled until both are usable.
    bool lowerPanelEnabled() const { return m_lowerPanelEnabled; }
    // "OK" pressed: the grid entries are locked and the button reads "Change".
    bool gridLocked(ViewSide side) const { return m_gridLocked[int(side)]; }
    QPoint pressPoint(ViewSide side) const { return m_pressPoint[int(side)]; } // displayed pixels
    // The last survey data file saved, without its extension; empty until the first Save.
    const QString &dataFileName() const { return m_dataFileName; }

    void setPointPlaced(ViewSide side, bool placed);
    void setMode(EditMode mode);
    void setSelected(int index);
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
    void setDataFileName(const QString &name);

    void beginChanges();
    void endChanges();

signals:
    void changed(EditSession::Parts parts);

private:
    template <class T> void set(T &field, const T &value, Part part);
    void notify(Parts parts);

    bool m_pointPlaced[2] = {false, false};
    EditMode m_mode = EditMode::Add;
    int m_selected = 0;
    bool m_addModeEntered = false;
    QString m_labelEntry;
    QString m_commentEntry;
    QString m_parkedLabel;
    QString m_parkedComment;
    bool m_newBranchChecked = true;
    bool m_newBranchEnabled = false;
    bool m_addEnabled = false;
    bool m_lowerPanelEnabled = true;
    bool m_gridLocked[2] = {false, false};
    QPoint m_pressPoint[2];
    QString m_dataFileName;
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
