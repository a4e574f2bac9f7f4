#pragma once

#include <QString>

// The names of survey data files: Save keeps the chosen path without its extension and puts the
// layout's own extension (".cav" or ".svx") on it. Only the file's own name is looked at, so a
// dot in a folder name ("/home/me/caves.old/cave") is never taken for an extension.
namespace DataFileNames {

// The path cut before the first "." of its file name; unchanged when the name has none.
QString withoutExtension(const QString &path);

// True when the file name (not the folders) contains a ".".
bool hasExtension(const QString &path);

} // namespace DataFileNames
