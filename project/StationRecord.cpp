#include "project/StationRecord.h"

#include "project/LittleEndian.h"
#include "survey/AnsiText.h"

#include <QCoreApplication>
#include <algorithm>

#include <cmath>
#include <cstring>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StationRecord)
};

} // namespace

namespace StationRecord {

void write(const Station &station, char *record)
{
    std::memset(record, 0, Size);
    const float coordinates[7] = {station.planX,       station.planY,       station.profileX,      station.profileY,
                                  station.planXMetres, station.planYMetres, station.profileYMetres};
    for (int i = 0; i < 7; ++i)
        LittleEndian::putFloat(record + 4 * i, coordinates[i]);
    const QByteArray label = AnsiText::encode(station.label);
    const QByteArray comment = AnsiText::encode(station.comment);
    std::memcpy(record + LabelOffset, label.constData(), size_t(std::min<qsizetype>(label.size(), LabelBytes)));
    std::memcpy(record + CommentOffset, comment.constData(),
                size_t(std::min<qsizetype>(comment.size(), CommentBytes)));
    record[BranchEndOffset] = char(station.branchEnd ? 1 : 0);
}

Station read(const char *record)
{
    Station station{};
    float *coordinates[7] = {&station.planX,       &station.planY,       &station.profileX,      &station.profileY,
                             &station.planXMetres, &station.planYMetres, &station.profileYMetres};
    for (int i = 0; i < 7; ++i)
        *coordinates[i] = LittleEndian::floatAt(record + 4 * i);
    // A text fills its field up to a zero byte, or the whole field.
    station.label = AnsiText::decode(record + LabelOffset, LabelBytes);
    station.comment = AnsiText::decode(record + CommentOffset, CommentBytes);
    station.branchEnd = record[BranchEndOffset] != 0;
    return station;
}

QString problem(const Station &station)
{
    for (const auto &[text, room] : {std::pair{&station.label, LabelBytes}, std::pair{&station.comment, CommentBytes}}) {
        const QString refused = AnsiText::unencodableCharacters(*text);
        if (!refused.isEmpty())
            return Words::tr("\"%1\" holds characters a project file cannot: \"%2\"").arg(*text, refused);
        if (text->size() > room)
            return Words::tr("\"%1\" is longer than the %2 characters a project file holds").arg(*text).arg(room);
    }
    return QString();
}

bool hasFiniteCoordinates(const Station &station)
{
    for (float value : {station.planX, station.planY, station.profileX, station.profileY, station.planXMetres,
                        station.planYMetres, station.profileYMetres}) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace StationRecord
