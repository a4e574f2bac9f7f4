#include "views/ImageMessages.h"

#include "document/SurveyDocument.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English). Whole sentences for each view, so a translation can put the words
// in its own order.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ImageMessages)
};

QString sizeText(const QSize &size) { return Words::tr("%1 x %2 pixels").arg(size.width()).arg(size.height()); }

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

QString ImageMessages::memoryText(qint64 bytes)
{
    constexpr double MiB = 1024.0 * 1024.0;
    if (bytes >= 1024 * 1024 * 1024LL)
        return Words::tr("%1 GB").arg(double(bytes) / (1024.0 * MiB), 0, 'f', 1);
    return Words::tr("%1 MB").arg(std::max<qint64>(1, qint64(double(bytes) / MiB + 0.5)));
}

QString ImageMessages::cannotRead(ViewSide side, const ImageRead &read)
{
    QString reason = read.reason;
    if (read.problem == ImageRead::Problem::NeedsConsent)
        reason = Words::tr("It is %1 and needs %2 of memory.").arg(sizeText(read.size), memoryText(read.bytesNeeded));
    else if (read.problem == ImageRead::Problem::Damaged && reason.isEmpty())
        reason = Words::tr("It is damaged.");
    else if (reason.isEmpty())
        reason = Words::tr("Not a readable image.");
    return (side == ViewSide::Plan ? Words::tr("Cannot read plan image %1: %2")
                                   : Words::tr("Cannot read profile image %1: %2"))
        .arg(shown(read.path), reason);
}

QString ImageMessages::askMemory(ViewSide side, const ImageRead &read)
{
    return (side == ViewSide::Plan ? Words::tr("The plan image %1 is %2 and needs %3 of memory. Open it?")
                                   : Words::tr("The profile image %1 is %2 and needs %3 of memory. Open it?"))
        .arg(shown(read.path), sizeText(read.size), memoryText(read.bytesNeeded));
}

QString ImageMessages::askDamaged(ViewSide side, const ImageRead &read)
{
    QString reason = read.reason;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return (side == ViewSide::Plan
                ? Words::tr("The plan image %1 is damaged: %2. Open the part that could be read?")
                : Words::tr("The profile image %1 is damaged: %2. Open the part that could be read?"))
        .arg(shown(read.path), reason.isEmpty() ? Words::tr("its data are wrong") : reason);
}

QString ImageMessages::scanMissing(ViewSide side, const QString &path)
{
    return (side == ViewSide::Plan ? Words::tr("Problems opening the Plan image: no file %1")
                                   : Words::tr("Problems opening the Profile image: no file %1"))
        .arg(shown(path));
}
