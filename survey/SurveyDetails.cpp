#include "survey/SurveyDetails.h"

#include "survey/AnsiText.h"
#include "survey/CoordinateSystem.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QtEndian>
#include <QIODevice>
#include <cmath>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SurveyDetails)
};

constexpr quint32 DetailsVersion = 1;

// The texts a writer puts into a file, with the name the user knows them by.
QList<QPair<QString, QString>> texts(const SurveyDetails &d)
{
    QList<QPair<QString, QString>> result{{Words::tr("the cave's name"), d.caveName},
                                          {Words::tr("the tape"), d.tapeInstrument},
                                          {Words::tr("the compass"), d.compassInstrument},
                                          {Words::tr("the clinometer"), d.clinoInstrument},
                                          {Words::tr("the scans' source"), d.source},
                                          {Words::tr("the entrance"), d.entrance}};
    for (const TeamMember &member : d.team)
        result.append({Words::tr("the team member \"%1\"").arg(member.name), member.name});
    return result;
}

// QDataStream sets aside what a string's or a list's length claims before reading it, so a
// damaged length would ask for gigabytes. Each is checked first against the bytes left: a string
// claims that many bytes, a list at least four for each of its strings. A length that does not fit
// marks the stream as cut short, and nothing more is read.
bool lengthFits(QDataStream &in, quint64 bytesEach)
{
    const QByteArray head = in.device()->peek(4);
    if (in.status() != QDataStream::Ok || head.size() < 4) {
        in.setStatus(QDataStream::ReadPastEnd);
        return false;
    }
    const quint32 length = qFromBigEndian<quint32>(head.constData());
    const quint64 left = quint64(in.device()->bytesAvailable() - 4);
    if (length == 0xffffffffu || quint64(length) * bytesEach <= left) // all ones: a null string
        return true;
    in.setStatus(QDataStream::ReadPastEnd);
    return false;
}

void readText(QDataStream &in, QString *text)
{
    if (lengthFits(in, 1))
        in >> *text;
}

void readTexts(QDataStream &in, QStringList *texts)
{
    if (!lengthFits(in, 4))
        return;
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i)
        readText(in, &texts->emplace_back());
}

QString controlProblem(const QString &what)
{
    return Words::tr("There is a line break or another control character in %1.").arg(what);
}

} // namespace

QString SurveyDetails::typingProblem(TypedField field, const QString &text)
{
    if (!AnsiText::hasControlCharacters(text))
        return QString();
    switch (field) {
    case TypedField::CaveName: return controlProblem(Words::tr("the cave's name"));
    case TypedField::Tape: return controlProblem(Words::tr("the tape"));
    case TypedField::Compass: return controlProblem(Words::tr("the compass"));
    case TypedField::Clino: return controlProblem(Words::tr("the clinometer"));
    case TypedField::Source: return controlProblem(Words::tr("the scans' source"));
    case TypedField::TeamName: return controlProblem(Words::tr("a team member's name"));
    case TypedField::TeamRoles: return controlProblem(Words::tr("a team member's roles"));
    }
    return QString();
}

const QByteArray SurveyDetails::SectionTag = QByteArrayLiteral("DETL");

const QStringList &SurveyDetails::roleNames()
{
    static const QStringList names{QStringLiteral("tape"),  QStringLiteral("compass"),     QStringLiteral("clino"),
                                   QStringLiteral("notes"), QStringLiteral("pictures"),    QStringLiteral("instruments"),
                                   QStringLiteral("assistant")};
    return names;
}

bool SurveyDetails::operator==(const SurveyDetails &o) const
{
    return caveName == o.caveName && date == o.date && team == o.team && tapeInstrument == o.tapeInstrument &&
           compassInstrument == o.compassInstrument && clinoInstrument == o.clinoInstrument && source == o.source &&
           north == o.north && declinationFromDateAndPlace == o.declinationFromDateAndPlace &&
           declinationDeg == o.declinationDeg && entrance == o.entrance &&
           entranceHasCoordinates == o.entranceHasCoordinates && entranceEast == o.entranceEast &&
           entranceNorth == o.entranceNorth && entranceAltitude == o.entranceAltitude && epsgCode == o.epsgCode;
}

QString SurveyDetails::problem() const
{
    // Even a number no writer uses: a NaN would make the details differ from themselves.
    for (const double value : {declinationDeg, entranceEast, entranceNorth, entranceAltitude}) {
        if (!std::isfinite(value))
            return Words::tr("One of the numbers of the survey details is not a number.");
    }
    for (const auto &[what, text] : texts(*this)) {
        const QString refused = AnsiText::unencodableCharacters(text);
        if (!refused.isEmpty())
            return Words::tr("The survey files cannot hold the characters \"%1\" of %2.").arg(refused, what);
        // Survex ends a quoted text at the next quote whatever comes before it.
        if (text.contains(QLatin1Char('"')))
            return Words::tr("Survey files cannot hold a double quote (\") in %1: use « » or ' instead.").arg(what);
        if (AnsiText::hasControlCharacters(text))
            return controlProblem(what);
    }
    for (int i = 0; i < team.size(); ++i) {
        const TeamMember &member = team.at(i);
        if (QString(member.name).remove(QLatin1Char('/')).trimmed().isEmpty())
            return Words::tr("Team member %1 has no name.").arg(i + 1);
        // Therion reads "first names/surname" and refuses a second "/".
        if (member.name.count(QLatin1Char('/')) > 1)
            return Words::tr("The team member \"%1\" has more than one \"/\": Therion reads the one \"/\" as the start "
                             "of the surname.")
                .arg(member.name);
        for (const QString &role : member.roles) {
            if (!roleNames().contains(role))
                return Words::tr("\"%1\" is not a role %2 can have; the roles are: %3.")
                    .arg(role, member.name, roleNames().join(QStringLiteral(", ")));
        }
    }
    if (date.isValid() && (date.year() < FirstYear || date > QDate::currentDate()))
        return Words::tr("The survey date must lie between the year %1 and today: Survex reads no earlier year and "
                         "warns of a date to come.")
            .arg(FirstYear);
    if (north == NorthReference::Magnetic && !declinationFromDateAndPlace && std::abs(declinationDeg) > 180.0)
        return Words::tr("The declination must be a number of degrees from -180 to 180.");
    if (entranceHasCoordinates) {
        if (entrance.isEmpty())
            return Words::tr("Coordinates are given but no entrance station is chosen.");
        if (epsgCode <= 0)
            return Words::tr("The entrance's coordinates need their coordinate system: an EPSG code such as 32637.");
        const CoordinateSystem system = CoordinateSystem::find(epsgCode);
        if (!system.known)
            return Words::tr("EPSG:%1 is not a coordinate system that Survex and Therion know.").arg(epsgCode);
        if (!system.projectedInMetres)
            return Words::tr("EPSG:%1 (%2) is not a projected coordinate system in metres, which Survex needs; "
                             "a UTM zone such as EPSG:32637 is one.")
                .arg(epsgCode)
                .arg(system.name);
        for (const double value : {entranceEast, entranceNorth, entranceAltitude}) {
            if (std::abs(value) > CoordinateLimit)
                return Words::tr("The entrance's coordinates must lie between -%1 and %1 m.")
                    .arg(QString::number(CoordinateLimit, 'f', 0));
        }
        if (!CoordinateSystem::reaches(epsgCode, entranceEast, entranceNorth))
            return Words::tr("The entrance's easting and northing lie outside what EPSG:%1 (%2) can place on the Earth.")
                .arg(epsgCode)
                .arg(system.name);
    }
    if (north == NorthReference::Magnetic && declinationFromDateAndPlace && (!date.isValid() || !entranceHasCoordinates))
        return Words::tr("A declination from date and place needs the survey date and the entrance's coordinates.");
    return QString();
}

QByteArray SurveyDetails::encode() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << DetailsVersion;
    // Fixed, so a later Qt writes and reads the same bytes.
    out.setVersion(QDataStream::Qt_6_0);
    out << caveName << date << qint32(team.size());
    for (const TeamMember &member : team)
        out << member.name << member.roles;
    out << tapeInstrument << compassInstrument << clinoInstrument << source << qint32(north)
        << declinationFromDateAndPlace << declinationDeg << entrance << entranceHasCoordinates << entranceEast
        << entranceNorth << entranceAltitude << qint32(epsgCode);
    return bytes;
}

SurveyDetails SurveyDetails::decode(const QByteArray &bytes, QString *problem)
{
    problem->clear();
    const auto refuse = [&](const QString &why) {
        *problem = why;
        return SurveyDetails();
    };
    QDataStream in(bytes);
    quint32 version = 0;
    in >> version;
    if (in.status() != QDataStream::Ok)
        return refuse(Words::tr("they are cut short"));
    if (version != DetailsVersion)
        return refuse(Words::tr("they were written by a newer Speomark, version %1 of the details").arg(version));
    in.setVersion(QDataStream::Qt_6_0);
    SurveyDetails d;
    qint32 teamSize = 0;
    readText(in, &d.caveName);
    in >> d.date >> teamSize;
    if (in.status() != QDataStream::Ok)
        return refuse(Words::tr("they are cut short"));
    // Each member takes at least 8 bytes, so a count beyond that is damage, not a big team.
    if (teamSize < 0 || teamSize > bytes.size() / 8)
        return refuse(Words::tr("the team's size is damaged"));
    for (qint32 i = 0; i < teamSize && in.status() == QDataStream::Ok; ++i) {
        TeamMember member;
        readText(in, &member.name);
        readTexts(in, &member.roles);
        d.team.append(member);
    }
    qint32 north = 0;
    qint32 epsg = 0;
    for (QString *text : {&d.tapeInstrument, &d.compassInstrument, &d.clinoInstrument, &d.source})
        readText(in, text);
    in >> north >> d.declinationFromDateAndPlace >> d.declinationDeg;
    readText(in, &d.entrance);
    in >> d.entranceHasCoordinates >> d.entranceEast >> d.entranceNorth >> d.entranceAltitude >> epsg;
    if (in.status() != QDataStream::Ok)
        return refuse(Words::tr("they are cut short"));
    if (!in.atEnd())
        return refuse(Words::tr("unexpected bytes follow them"));
    if (north < 0 || north > 2)
        return refuse(Words::tr("the north reference is damaged"));
    d.north = NorthReference(north);
    d.epsgCode = epsg;
    // A number that is no number is damage: such details would differ from themselves.
    for (const double value : {d.declinationDeg, d.entranceEast, d.entranceNorth, d.entranceAltitude})
        if (!std::isfinite(value))
            return refuse(Words::tr("one of their numbers is not a number"));
    // Details the readers would refuse are kept, so that saving the project loses nothing; the
    // problem says why no survey file gets them until they are put right.
    const QString why = d.problem();
    if (!why.isEmpty())
        *problem = why.chopped(1).replace(0, 1, why.left(1).toLower());
    return d;
}
