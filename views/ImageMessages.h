#pragma once

#include "views/ImageFile.h"

#include <QString>

enum class ViewSide;

// What the user is told or asked about a scan that is being opened. Each names the file.
namespace ImageMessages {

// "Cannot read plan image /x/y.png: Unexpected end of file." (any problem but None).
QString cannotRead(ViewSide side, const ImageRead &read);
// A NeedsConsent result: its size and the memory it needs, and whether to open it.
QString askMemory(ViewSide side, const ImageRead &read);
// A Damaged result: what is wrong, and whether to open the part that could be read.
QString askDamaged(ViewSide side, const ImageRead &read);
// A project's scan whose file is not there (in the project messages' language).
QString scanMissing(ViewSide side, const QString &path);
// "2.3 GB", "600 MB".
QString memoryText(qint64 bytes);

} // namespace ImageMessages
