#pragma once

#include <QByteArray>
#include <QString>

// Writing a file all at once through a temporary file beside it that replaces the target only
// when every byte is on disk, so a failed write (no such folder, no permission, a full disk)
// leaves any earlier file of that name as it was. Used for survey data text and project files.
namespace WholeFile {

// Throws CommandError "Cannot create file <path>: <reason>." when the file cannot be created and
// "Cannot write file <path>: <reason>. Any earlier file of that name is unchanged." when writing
// or replacing fails.
void write(const QString &path, const QByteArray &bytes);

} // namespace WholeFile
