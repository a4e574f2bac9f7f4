#pragma once

#include "stations/PassageWalls.h"
#include "stations/WallFinding.h"

#include <functional>

#include <QPoint>
#include <QString>

class EditHistory;
struct Station;
struct PassageDimensions;
class EditSession;
class SurveyDocument;
enum class ProfileKind;
enum class ViewSide;

// Digitising stations: placing the pending station's points with right clicks on both views,
// Add with its branch rules and its limit, "New branch", the profile kind and the plan's
// orientation, and Move mode, where the same clicks and the same button edit a station already
// added, and stations can be picked, dragged, nudged, deleted and put in between. Every change to
// the survey is one undoable step when a history is given.
class StationEditor
{
public:
    enum class AddOutcome {
        Added,     // the pending station joined the table
        Edited,    // Move mode: the selected station took the texts
        TableFull, // nothing added: tell the user the table is full
        Nothing,   // Move mode without a selected station
    };

    StationEditor(SurveyDocument &document, EditSession &session, EditHistory *history = nullptr);

    // A point at a displayed position of a view: the pending station's in Add mode, the selected
    // station's in Move mode. Stored in source pixels and, with the view's scale, in metres.
    void placePoint(ViewSide side, QPoint displayed);
    // The same at a point in source pixels of the shown sheet (where a snap put the click).
    void placePointAt(ViewSide side, QPointF source);

    // "Add" (in Move mode "OK") with the texts of the label and comment boxes. Throws CommandError
    // when a text holds characters the station's fields cannot store, or a control character (a
    // line break, a tab, 0x1A) that would end a survey file's line. While inserting, the station
    // goes in before the one chosen, and Move mode comes back with the new station selected.
    AddOutcome add(const QString &label, const QString &comment);

    void setNewBranch(bool checked);
    void setProfileKind(ProfileKind kind);
    void setOrientation(const QString &degrees);
    // A projected profile's azimuth as typed; throws CommandError when it is not a number.
    void setProjectionAzimuth(const QString &degrees);

    // The plan's north from two points along the drawn north arrow (source pixels, tail first).
    void setOrientationFromArrow(QPointF tail, QPointF head);

    // Move mode parks the texts typed for the pending station and shows the last station's;
    // false (nothing changes) when there is no station to edit.
    bool enterMoveMode();
    // Back to Add mode: the parked texts return.
    void enterAddMode();
    void selectPrevious();
    void selectNext();
    // Selects a station (entering Move mode when needed); false when there is none at index.
    bool select(int index);

    // Move mode: the station whose mark on that view lies within 6 displayed pixels, else -1.
    int stationAt(ViewSide side, QPoint displayed) const;
    // One step of dragging the selected station's mark; the steps of one drag (same dragId) undo
    // as one. The point is held inside the image.
    void drag(ViewSide side, QPoint displayed, quint64 dragId);
    // Moves the selected station's point by whole source pixels.
    void nudge(ViewSide side, QPoint sourcePixels);

    // Takes the selected station out, keeping the branches as drawn: a branch it ended now ends
    // at its predecessor, one it started starts at its successor. False when nothing is selected.
    bool deleteSelected();
    // Add mode, with the next station put in before the selected one. TableFull when the table
    // has no room, Nothing when no station is selected, Added when insertion starts.
    AddOutcome startInsert();
    // Relabels a station (the stations list).
    void setLabel(int index, const QString &label);
    // Sets the passage dimensions at a station, in one step (a drag's steps: one). Throws
    // CommandError when a value is not a finite number within the limit; empty stays empty.
    void setDimensions(int index, const PassageDimensions &dimensions, quint64 dragId = 0);
    // One wall of a station set to `metres` (empty: unknown); the steps of one drag are one step.
    void setWall(int index, PassageWalls::Wall wall, std::optional<double> metres, quint64 dragId = 0);
    // Every unknown wall of every station the scans answer, in one step; how many were found.
    int findWalls(); // on this thread, over the scans held
    // Puts walls found in the background in place, as one step; returns the values filled in.
    int applyFoundWalls(const std::vector<WallFinding::Found> &found);
    // Gives several entries one label in one step (a likely tie made a tie).
    void setLabels(const QVector<int> &indexes, const QString &label);
    // Puts the metres of every station on that view back in step with its pixels at the view's
    // scale in force (after the scale was changed); one step.
    void recalculateMetres(ViewSide side); // the stations on the sheet the side shows
    int stationsOnShownSheet(ViewSide side) const;

    // The label that follows `last`: its trailing number increased, keeping its width (12 -> 13,
    // A7 -> A8, Б09 -> Б10); empty when it ends in no number.
    static QString nextLabel(const QString &last);

    static QString tableFullMessage();

    // Why a label (a comment) cannot be stored as it is, naming the field; empty when it can.
    static QString labelProblem(const QString &label);
    static QString commentProblem(const QString &comment);

private:
    // Puts the point `placed` gives on the pending station, or moves the selected one there.
    void place(ViewSide side, const std::function<Station(const Station &)> &placed);
    // Throws when the station's point on that side lies on another sheet than the one shown.
    void requireOnShownSheet(int index, ViewSide side) const;
    void showSelectedTexts();
    void showStoredTexts(const Station &station);
    void enableNewBranchWhereAllowed();
    QString nameOf(int index) const;
    void movePoint(ViewSide side, QPointF source);

    SurveyDocument &m_document;
    EditSession &m_session;
    EditHistory *m_history;
};
