#pragma once

#include <QPoint>
#include <QString>

class EditSession;
class SurveyDocument;
enum class ProfileKind;
enum class ViewSide;

// Digitising stations: placing the pending station's points with right clicks on both views,
// Add with its branch rules and its limit, "New branch", the profile kind, and Move mode, where
// the same clicks and the same button edit a station already added.
class StationEditor
{
public:
    enum class AddOutcome {
        Added,     // the pending station joined the table
        Edited,    // Move mode: the selected station took the texts
        TableFull, // nothing added: tell the user the table is full
        Nothing,   // Move mode without a selected station
    };

    StationEditor(SurveyDocument &document, EditSession &session);

    // A point at a displayed position of a view: the pending station's in Add mode, the selected
    // station's in Move mode. Stored in source pixels and, with the view's scale, in metres.
    void placePoint(ViewSide side, QPoint displayed);

    // "Add" (in Move mode "OK") with the texts of the label and comment boxes. Throws CommandError
    // when a text holds characters the station's fields cannot store.
    AddOutcome add(const QString &label, const QString &comment);

    void setNewBranch(bool checked);
    void setProfileKind(ProfileKind kind);

    // Move mode parks the texts typed for the pending station and shows the last station's;
    // false (nothing changes) when there is no station to edit.
    bool enterMoveMode();
    // Back to Add mode: the parked texts return.
    void enterAddMode();
    void selectPrevious();
    void selectNext();

    static QString tableFullMessage();

private:
    void showSelectedTexts();
    void enableNewBranchWhereAllowed();

    SurveyDocument &m_document;
    EditSession &m_session;
};
