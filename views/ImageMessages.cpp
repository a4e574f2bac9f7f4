#include "views/ImageMessages.h"

#include "app/SurveyDocument.h"

#include <QDir>

namespace {

QString imageName(ViewSide side)
{
    return side == ViewSide::Plan ? QStringLiteral("plan image") : QStringLiteral("profile image");
}

QString sizeText(const QSize &size)
{
    return QStringLiteral("%1 x %2 pixels").arg(size.width()).arg(size.height());
}

} // namespace

QString ImageMessages::memoryText(qint64 bytes)
{
    constexpr double MiB = 1024.0 * 1024.0;
    if (bytes >= 1024 * 1024 * 1024LL)
        return QStringLiteral("%1 GB").arg(double(bytes) / (1024.0 * MiB), 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(std::max<qint64>(1, qint64(double(bytes) / MiB + 0.5)));
}

QString ImageMessages::cannotRead(ViewSide side, const ImageRead &read)
{
    QString reason = read.reason;
    if (read.problem == ImageRead::Problem::NeedsConsent)
        reason = QStringLiteral("It is %1 and needs %2 of memory.").arg(sizeText(read.size), memoryText(read.bytesNeeded));
    else if (read.problem == ImageRead::Problem::Damaged && reason.isEmpty())
        reason = QStringLiteral("It is damaged.");
    else if (reason.isEmpty())
        reason = QStringLiteral("Not a readable image.");
    return QStringLiteral("Cannot read %1 %2: %3").arg(imageName(side), QDir::toNativeSeparators(read.path), reason);
}

QString ImageMessages::askMemory(ViewSide side, const ImageRead &read)
{
    return QStringLiteral("The %1 %2 is %3 and needs %4 of memory. Open it?")
        .arg(imageName(side), QDir::toNativeSeparators(read.path), sizeText(read.size), memoryText(read.bytesNeeded));
}

QString ImageMessages::askDamaged(ViewSide side, const ImageRead &read)
{
    QString reason = read.reason;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return QStringLiteral("The %1 %2 is damaged: %3. Open the part that could be read?")
        .arg(imageName(side), QDir::toNativeSeparators(read.path), reason.isEmpty() ? QStringLiteral("its data are wrong") : reason);
}

QString ImageMessages::scanMissing(ViewSide side, const QString &path)
{
    return QStringLiteral("Проблемы с открытием изображения %1: нет файла %2")
        .arg(side == ViewSide::Plan ? QStringLiteral("Плана") : QStringLiteral("Профиля"), QDir::toNativeSeparators(path));
}
