#include "project/RecoveryFile.h"

#include "survey/CommandError.h"
#include "document/EditSession.h"
#include "survey/NumberText.h"
#include "document/SurveyDocument.h"
#include "output/WholeFile.h"
#include "project/ProjectFile.h"
#include "project/StationRecord.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(RecoveryFile)
};

constexpr int Slots = 16;
const QByteArray Tag = QByteArrayLiteral("RCVR");
constexpr qint32 Version = 2; // 2 adds the digest of the project file

QString slotPath(const QString &folder, int slot) { return QDir(folder).filePath(QStringLiteral("recovery-%1.sprj").arg(slot)); }
QString lockPath(const QString &file) { return file + QStringLiteral(".lock"); }

struct Remembered
{
    QString projectPath;
    QDateTime savedAt;
    QString labelEntry, commentEntry, dataFileName, orientationEntry;
    QString gridEntries[4]; // plan metres, plan pixels, profile metres, profile pixels
    bool pointPlaced[2] = {false, false};
    QByteArray pending;     // the pending station as a project record
    QByteArray projectDigest;
};

QByteArray encode(const Remembered &r)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << Version << r.projectPath << r.savedAt << r.labelEntry << r.commentEntry << r.dataFileName
        << r.orientationEntry;
    for (const QString &entry : r.gridEntries)
        out << entry;
    out << r.pointPlaced[0] << r.pointPlaced[1] << r.pending << r.projectDigest;
    return bytes;
}

bool decode(const QByteArray &bytes, Remembered *r)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    qint32 version = 0;
    in >> version;
    if (version < 1 || version > Version)
        return false;
    in >> r->projectPath >> r->savedAt >> r->labelEntry >> r->commentEntry >> r->dataFileName >> r->orientationEntry;
    for (QString &entry : r->gridEntries)
        in >> entry;
    in >> r->pointPlaced[0] >> r->pointPlaced[1] >> r->pending;
    if (version >= 2)
        in >> r->projectDigest;
    return in.status() == QDataStream::Ok && r->pending.size() == StationRecord::Size;
}

} // namespace

RecoveryFile::RecoveryFile(QString folder) : m_folder(std::move(folder)) {}

RecoveryFile::~RecoveryFile() = default;

QString RecoveryFile::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool RecoveryFile::claim()
{
    if (m_lock)
        return true;
    QDir().mkpath(m_folder);
    for (int slot = 0; slot < Slots; ++slot) {
        const QString path = slotPath(m_folder, slot);
        auto lock = std::make_unique<QLockFile>(lockPath(path));
        lock->setStaleLockTime(0);
        // A slot whose file was left by a crash stays for the user to recover.
        if (QFile::exists(path) || !lock->tryLock(0))
            continue;
        m_path = path;
        m_lock = std::move(lock);
        return true;
    }
    return false;
}

void RecoveryFile::write(const SurveyDocument &document, const EditSession &session)
{
    if (!claim())
        throw CommandError(Words::tr("No room for a recovery file in %1.").arg(QDir::toNativeSeparators(m_folder)));
    ProjectContents contents = ProjectContents::capture(document, ProjectContents::Entries::AsTheyStand);
    if (!session.projectPath().isEmpty())
        contents.rememberScansRelativeTo(session.projectPath());
    Remembered r;
    r.projectPath = session.projectPath();
    r.projectDigest = session.projectDigest();
    r.savedAt = QDateTime::currentDateTimeUtc();
    r.labelEntry = session.labelEntry();
    r.commentEntry = session.commentEntry();
    r.dataFileName = session.dataFileName();
    r.orientationEntry = document.orientationEntry();
    const ViewSettings &plan = document.view(ViewSide::Plan);
    const ViewSettings &profile = document.view(ViewSide::Profile);
    const QString entries[4] = {plan.gridMetresEntry, plan.gridPixelsEntry, profile.gridMetresEntry,
                                profile.gridPixelsEntry};
    std::copy(std::begin(entries), std::end(entries), std::begin(r.gridEntries));
    r.pointPlaced[0] = session.pointPlaced(ViewSide::Plan);
    r.pointPlaced[1] = session.pointPlaced(ViewSide::Profile);
    r.pending = QByteArray(StationRecord::Size, '\0');
    if (document.stations().hasPending())
        StationRecord::write(document.stations().pending(), r.pending.data());
    contents.extras.setSection(Tag, encode(r));
    WholeFile::write(m_path, ProjectFile::serialize(contents, m_path));
}

void RecoveryFile::remove()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

bool RecoveryFile::exists() const
{
    return !m_path.isEmpty() && QFile::exists(m_path);
}

QList<RecoveryFile::Left> RecoveryFile::leftBehind(const QString &folder)
{
    QList<Left> found;
    for (int slot = 0; slot < Slots; ++slot) {
        const QString path = slotPath(folder, slot);
        if (!QFile::exists(path))
            continue;
        QLockFile lock(lockPath(path));
        if (!lock.tryLock(0))
            continue; // a running program's
        lock.unlock();
        Left left{path, {}, {}, 0, {}};
        try {
            const ProjectContents contents = ProjectFile::read(path);
            Remembered r;
            if (!contents.extrasProblem.isEmpty()) {
                left.problem = contents.extrasProblem;
            } else if (!decode(contents.extras.section(Tag), &r)) {
                left.problem = Words::tr("%1 ends before what was being typed and the project the work belongs "
                                         "to")
                                   .arg(QDir::toNativeSeparators(path));
            } else {
                left.savedAt = r.savedAt;
                left.projectPath = r.projectPath;
                left.stationCount = contents.stations.count();
            }
        } catch (const CommandError &error) {
            left.problem = error.message();
        }
        found.append(left);
    }
    std::sort(found.begin(), found.end(), [](const Left &a, const Left &b) { return a.savedAt > b.savedAt; });
    return found;
}

void RecoveryFile::restoreEditing(const ProjectContents &contents, SurveyDocument &document, EditSession &session)
{
    Remembered r;
    ChangeBatch batch(document, session);
    if (decode(contents.extras.section(Tag), &r)) {
        // Entries are kept as typed, but only numbers ever reach the survey.
        double number = 0.0;
        const auto numeric = [&](const QString &text) { return NumberText::tryToDouble(text, &number); };
        if (numeric(r.orientationEntry))
            document.setOrientationEntry(r.orientationEntry);
        for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
            const QString *entries = r.gridEntries + (side == ViewSide::Plan ? 0 : 2);
            if (numeric(entries[0]) && numeric(entries[1]))
                document.setGridEntries(side, entries[0], entries[1]);
        }
        if (document.stations().hasPending())
            document.setStation(document.stations().count(), StationRecord::read(r.pending.constData()));
        session.setPointPlaced(ViewSide::Plan, r.pointPlaced[0]);
        session.setPointPlaced(ViewSide::Profile, r.pointPlaced[1]);
        session.setEntries(r.labelEntry, r.commentEntry);
        session.setDataFileName(r.dataFileName);
        session.setProject(r.projectPath, true, r.projectDigest);
    }
}

QString RecoveryFile::setAside(const QString &path)
{
    const QString aside = path.chopped(5) + QStringLiteral("-damaged-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".sprj");
    QFile::remove(aside);
    QFile::rename(path, aside);
    QFile::remove(lockPath(path));
    return aside;
}

void RecoveryFile::discard(const QString &path)
{
    QFile::remove(path);
    QFile::remove(lockPath(path));
}
