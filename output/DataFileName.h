#pragma once

#include <QString>
#include <QStringList>

// The names of survey data files: Save keeps the chosen path without its extension and puts the
// format's own extension on it. Only a known extension (one a file Save or Save as writes) at the
// end of the file's own name counts, so a dot in a folder name ("/home/me/caves.old/cave") or in
// the name itself ("cave_2023.07.15") is never taken for one: the name typed is the name written.
namespace DataFileNames {

// Every extension Save and Save as write, lower case, without the dot.
const QStringList &knownExtensions();

// The known extension the file name ends with, lower case, without the dot; empty when none.
QString extensionOf(const QString &path);

// The path without its known extension; unchanged when it has none.
QString withoutExtension(const QString &path);

// True when the file name ends with a known extension.
bool hasExtension(const QString &path);
// True when the file name has any "." after its first character.
bool hasAnySuffix(const QString &path);

} // namespace DataFileNames
