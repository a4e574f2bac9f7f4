#include "views/PdfRender.h"

#include "views/ImageFile.h"
#include "views/ImageMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Texts the user reads, in the interface's language.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PdfRender)
};

constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 HelperMemory = 2048 * MiB;
// How often a running helper is checked for Cancel: well within a second.
constexpr int PollMilliseconds = 50;

enum class Run { Finished, Cancelled, NotStarted, NotReadable, OutOfMemory, Broken };

// One helper, from `*row` to the last row in bands of `bandRows`. `*row` moves past every whole
// row received, whatever happens after.
Run runHelper(const PdfRender::Job &job, qint64 memory, int bandRows, uchar *pixels, int *row,
              ReadControl *control, QString *error)
{
    const qint64 rowBytes = qint64(job.size.width()) * 4;
    const qint64 end = rowBytes * job.size.height();
    QProcess helper;
    // Poppler's complaints pass through to our stderr instead of piling up here.
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.setStandardInputFile(QProcess::nullDevice());
    const QStringList arguments = {job.path,
                                   QString::number(job.page),
                                   QString::number(job.dotsPerInch),
                                   QString::number(job.size.width()),
                                   QString::number(job.size.height()),
                                   QString::number(*row),
                                   QString::number(bandRows),
                                   QString::number(memory)};
    helper.start(PdfRender::helperPath(), arguments, QIODevice::ReadOnly);
    if (!helper.waitForStarted(-1)) {
        *error = helper.errorString();
        return Run::NotStarted;
    }
    qint64 at = rowBytes * *row;
    for (;;) {
        if (control && control->cancelled()) {
            helper.kill();
            helper.waitForFinished(-1);
            return Run::Cancelled;
        }
        if (helper.bytesAvailable() > 0) {
            if (at < end) {
                const qint64 got = helper.read(reinterpret_cast<char *>(pixels) + at, end - at);
                if (got > 0)
                    at += got;
                *row = int(at / rowBytes);
                if (control)
                    control->setPermille(int(qint64(*row) * 999 / job.size.height()));
            } else {
                helper.readAll(); // more than the page holds: not ours to keep
            }
            continue;
        }
        if (helper.state() == QProcess::NotRunning)
            break;
        helper.waitForReadyRead(PollMilliseconds);
    }
    if (at == end)
        return Run::Finished; // every row arrived, however the helper ended after that
    if (helper.exitStatus() == QProcess::CrashExit)
        return Run::OutOfMemory; // under its address-space limit, running out is how it crashes
    switch (helper.exitCode()) {
    case PdfRender::OutOfMemory:
        return Run::OutOfMemory;
    case PdfRender::NotReadable:
        return Run::NotReadable;
    default:
        *error = QString::number(helper.exitCode());
        return Run::Broken;
    }
}

PdfRender::Outcome failed(const QString &reason)
{
    PdfRender::Outcome outcome;
    outcome.kind = PdfRender::Outcome::Kind::Failed;
    outcome.reason = reason;
    return outcome;
}

} // namespace

using PdfRender::Outcome;

qint64 PdfRender::defaultHelperMemory()
{
    qint64 memory = HelperMemory;
    // A quarter of a small computer's memory, so the helper is never what exhausts it.
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0)
        memory = std::min(memory, std::max(256 * MiB, qint64(pages) * pageSize / 4));
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        memory = std::min(memory, qint64(limit.rlim_cur));
    return memory;
}

QString PdfRender::helperPath()
{
    const QString name = QStringLiteral("speomark-pdf-render");
    if (QCoreApplication::instance()) {
        const QDir programs(QCoreApplication::applicationDirPath());
        for (const QString &candidate :
             {programs.filePath(QStringLiteral(SPEOMARK_HELPERS_FROM_PROGRAMS "/") + name), programs.filePath(name)})
            if (QFileInfo(candidate).isExecutable())
                return candidate;
    }
    return QStringLiteral(SPEOMARK_PDF_RENDER_BUILT);
}

Outcome PdfRender::render(const Job &job, uchar *pixels, ReadControl *control)
{
    const int height = job.size.height();
    if (job.size.isEmpty() || job.page < 1 || job.dotsPerInch < 1)
        return failed(Words::tr("Not a readable PDF page."));
    const qint64 memory = job.helperMemory > 0 ? job.helperMemory : defaultHelperMemory();
    const qint64 rowBytes = qint64(job.size.width()) * 4;
    int bandRows = job.bandRows > 0 ? std::min(job.bandRows, height)
                                    : int(std::clamp<qint64>(memory / 4 / rowBytes, 1, height));
    if (control)
        control->setPermille(0);
    int row = 0;
    while (row < height) {
        const int from = row;
        QString error;
        switch (runHelper(job, memory, bandRows, pixels, &row, control, &error)) {
        case Run::Finished: {
            Outcome outcome;
            outcome.kind = Outcome::Kind::Rendered;
            outcome.bandRows = bandRows;
            if (control)
                control->setPermille(1000);
            return outcome;
        }
        case Run::Cancelled: {
            Outcome outcome;
            outcome.kind = Outcome::Kind::Cancelled;
            return outcome;
        }
        case Run::NotStarted:
            return failed(Words::tr("The PDF renderer %1 could not be started: %2.")
                              .arg(QDir::toNativeSeparators(helperPath()), error));
        case Run::NotReadable:
            return failed(Words::tr("Not a readable PDF page."));
        case Run::Broken:
            return failed(Words::tr("The PDF renderer %1 ended with status %2.")
                              .arg(QDir::toNativeSeparators(helperPath()), error));
        case Run::OutOfMemory:
            if (bandRows == 1 && row == from)
                return failed(Words::tr("The PDF page cannot be drawn at %1 dpi within %2 of memory: it is too "
                                        "complex, or damaged.")
                                  .arg(job.dotsPerInch)
                                  .arg(ImageMessages::memoryText(memory)));
            bandRows = std::max(1, bandRows / 2);
            break;
        }
    }
    return failed(Words::tr("Not a readable PDF page."));
}
