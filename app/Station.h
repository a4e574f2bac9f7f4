#pragma once

#include <QString>
#include <cstdint>

constexpr int StationLabelBytes = 20;
constexpr int StationCommentBytes = 256;
constexpr int StationTableSize = 1000; // entries of the table, the pending one included
constexpr int MaxAddedStations = 999;  // Add refuses beyond this, so a pending entry always exists

// One entry of the station table. Positions are in source-image pixels of each drawing (y grows
// downward) and in metres, computed once with the scale in force when the point was placed.
// Label and Comment are Windows-1251 bytes ended by a zero byte, or filling the whole field with
// no zero at all: a text of exactly 20 (256) bytes is kept whole and always read back bounded by
// the field width (see labelText / commentText).
struct Station
{
    float PlanX;
    float PlanY;
    float ProfileX;
    float ProfileY;
    float PlanXMetres;
    float PlanYMetres;
    float ProfileYMetres;
    char Label[StationLabelBytes];
    char Comment[StationCommentBytes];
    std::uint8_t BranchEnd;
};

// Zeroes the seven coordinates, empties both texts (first byte only) and clears BranchEnd.
void ClearStation(Station &station);

QString labelText(const Station &station);
QString commentText(const Station &station);
bool hasLabel(const Station &station);
bool hasComment(const Station &station);

// Store text (already checked to fit the code page) into a field, cut at the field width in bytes;
// the remaining bytes are zeroed so no old text lingers behind the new one.
void setLabelText(Station &station, const QString &text);
void setCommentText(Station &station, const QString &text);

// The raw bytes of each text, bounded by the field width (for the survey data text).
QByteArray labelBytes(const Station &station);
QByteArray commentBytes(const Station &station);
