#pragma once

#include <QByteArray>
#include <QString>

constexpr int StationLabelBytes = 20;
constexpr int StationCommentBytes = 256;

// One station of the table. Positions are in source-image pixels of each drawing (y grows
// downward) and in metres, computed once with the scale in force when the point was placed.
// The label and comment are Windows-1251 bytes ended by a zero byte, or filling the whole field
// with no zero at all: a text of exactly 20 (256) bytes is kept whole and always read back
// bounded by the field width (see labelText / commentText). A value-initialised Station{} is
// all zero: no position, no texts, not a branch end.
struct Station
{
    float planX;
    float planY;
    float profileX;
    float profileY;
    float planXMetres;
    float planYMetres;
    float profileYMetres;
    char label[StationLabelBytes];
    char comment[StationCommentBytes];
    bool branchEnd; // the branch ends here: no leg joins this station to the next one
};

// Zeroes the seven coordinates, empties both texts (first byte only) and clears the branch end.
void clearStation(Station &station);

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
