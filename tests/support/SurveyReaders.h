#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// Survex's own tools as the judges of what we write: running them, and the station positions
// they find.
namespace SurveyReaders {

// Positions in a projected system are millions of metres: floats would lose the centimetres.
struct Position
{
    double x = 0.0, y = 0.0, z = 0.0;
};

// Runs a program in a folder; its output and error text together.
QString run(const QString &program, const QStringList &arguments, const QString &folder, int *exitCode);

// The positions survexport lists for a .3d file, by station name without its survey's prefix,
// lowered (Survex lowers the names of .svx files); empty with *problem set when it cannot.
QHash<QString, Position> positions(const QString &model, QString *problem);

// cavern reads a Survex text (warnings count as errors) in `folder`; the positions of its
// stations. Empty with *problem set when cavern refuses it.
QHash<QString, Position> cavernPositions(const QByteArray &svx, const QString &folder, QString *problem);

} // namespace SurveyReaders
