#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// Which north the plan's arrow shows, so the compass values of the legs are read against it.
enum class NorthReference { Magnetic = 0, True = 1, Grid = 2 };

struct TeamMember
{
    QString name;
    QStringList roles; // words of SurveyDetails::roleNames()

    bool operator==(const TeamMember &other) const { return name == other.name && roles == other.roles; }
};

// What a survey data file says about the survey beyond its legs: the cave, when and by whom it
// was surveyed, with what, from which scans, which north the compass values use, and the
// entrance. A default-constructed value is "no details": every writer then writes exactly what
// it wrote before details existed. Texts are kept as typed; writers quote them.
struct SurveyDetails
{
    QString caveName;
    QDate date; // invalid when unknown
    QList<TeamMember> team;
    QString tapeInstrument;
    QString compassInstrument;
    QString clinoInstrument;
    QString source; // where the scans come from
    NorthReference north = NorthReference::Magnetic;
    bool declinationFromDateAndPlace = false; // magnetic north only: computed by the reader
    double declinationDeg = 0.0;              // magnetic north only, east positive
    QString entrance;                         // a station's stored name (label, or index); empty: none
    bool entranceHasCoordinates = false;
    double entranceEast = 0.0;
    double entranceNorth = 0.0;
    double entranceAltitude = 0.0;
    int epsgCode = 0; // the coordinates' system, EPSG:<code>

    // The first year Survex reads in a date (a date to come it warns of); the greatest coordinate
    // the details take, in metres.
    static constexpr int FirstYear = 1900;
    static constexpr double CoordinateLimit = 1e8;

    bool isEmpty() const { return *this == SurveyDetails(); }
    bool operator==(const SurveyDetails &other) const;
    bool operator!=(const SurveyDetails &other) const { return !(*this == other); }

    // Why these details cannot be written into a survey file, or would be refused by Survex or
    // Therion reading it, as the user should read it; empty when they can. A number that is not
    // finite is refused even where no writer uses it.
    QString problem() const;
    // These details where every survey file can hold them; no details where it cannot.
    SurveyDetails writable() const { return problem().isEmpty() ? *this : SurveyDetails(); }

    // The fields of the details dialog where text is typed, and why a text there cannot be kept as
    // it is typed or pasted: a line break or another control character, naming the field; empty
    // when there is none. (What else problem() finds is shown when OK is pressed.)
    enum class TypedField { CaveName, Tape, Compass, Clino, Source, TeamName, TeamRoles };
    static QString typingProblem(TypedField field, const QString &text);

    // The roles Survex and Therion both know, as the files spell them.
    static const QStringList &roleNames();

    // The project's section for the details (tag "DETL"): a version number, then the fields
    // through QDataStream.
    static const QByteArray SectionTag;
    QByteArray encode() const;
    // Details from a section's bytes. A section that is cut short, of a newer version, or holds a
    // number that is no number gives empty details and says why in *problem (a phrase such as
    // "they are cut short"). Details that read whole but that no survey file can hold (see
    // problem()) are given as they are, with the reason in *problem.
    static SurveyDetails decode(const QByteArray &bytes, QString *problem);
};
