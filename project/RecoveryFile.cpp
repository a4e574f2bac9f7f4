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
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(RecoveryFile)
};

// Slots are numbered from 0; a running program takes the first free one, however many files
// crashed programs left, so it always has one of its own.
constexpr int MaxSlots = 100000;
const QByteArray Tag = QByteArrayLiteral("RCVR");
constexpr qint32 Version = 3; // 2 adds the digest of the project file, 3 every sheet's entries by its id

QString slotPath(const QString &folder, int slot) { return QDir(folder).filePath(QStringLiteral("recovery-%1.sprj").arg(slot)); }
QString lockPath(const QString &file) { return file + QStringLiteral(".lock"); }

QString shownFolder(const QString &folder) { return QDir::toNativeSeparators(folder); }

// The entries of one sheet as typed, kept by the sheet's id: the sheet shown when the job was
// written need not be the one shown when it is recovered.
struct SheetEntries
{
    qint32 id = 0;
    QString north, gridMetres, gridPixels;
};

struct Remembered
{
    QString projectPath;
    QDateTime savedAt;
    QString labelEntry, commentEntry, dataFileName, orientationEntry;
    QString gridEntries[4]; // plan metres, plan pixels, profile metres, profile pixels
    bool pointPlaced[2] = {false, false};
    QByteArray pending;     // the pending station as a project record
    QByteArray projectDigest;
    QList<SheetEntries> sheets;
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
    out << qint32(r.sheets.size());
    for (const SheetEntries &sheet : r.sheets)
        out << sheet.id << sheet.north << sheet.gridMetres << sheet.gridPixels;
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
    if (version >= 3) {
        qint32 count = 0;
        in >> count;
        if (count < 0 || count > Limits::MaxSheets)
            return false;
        for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            SheetEntries sheet;
            in >> sheet.id >> sheet.north >> sheet.gridMetres >> sheet.gridPixels;
            r->sheets.append(sheet);
        }
    }
    return in.status() == QDataStream::Ok && r->pending.size() == StationRecord::Size;
}

} // namespace

RecoveryFile::RecoveryFile(QString folder) : m_folder(std::move(folder)) {}

RecoveryFile::~RecoveryFile() = default;

QString RecoveryFile::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void RecoveryFile::claim()
{
    if (m_lock)
        return;
    if (!QDir().mkpath(m_folder))
        throw CommandError(Words::tr("No recovery file can be kept: the folder %1 cannot be made.").arg(shownFolder(m_folder)));
    for (int slot = 0; slot < MaxSlots; ++slot) {
        const QString path = slotPath(m_folder, slot);
        // A slot whose file was left by a crash stays for the user to recover.
        if (QFile::exists(path))
            continue;
        auto lock = std::make_unique<QLockFile>(lockPath(path));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0)) {
            if (lock->error() == QLockFile::LockFailedError)
                continue; // another running program's
            throw CommandError(Words::tr("No recovery file can be kept: the folder %1 cannot be written.")
                                   .arg(shownFolder(m_folder)));
        }
        m_path = path;
        m_lock = std::move(lock);
        return;
    }
    throw CommandError(Words::tr("No recovery file can be kept: %1 holds %2 left behind.").arg(shownFolder(m_folder)).arg(MaxSlots));
}

void RecoveryFile::write(const SurveyDocument &document, const EditSession &session)
{
    claim();
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
    for (const ViewSettings &sheet : document.sheets())
        r.sheets.append({qint32(sheet.id), sheet.north.text(), sheet.gridMetresEntry, sheet.gridPixelsEntry});
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
    static const QRegularExpression slotName(QStringLiteral("^recovery-\\d+\\.sprj$"));
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("recovery-*.sprj")}, QDir::Files)) {
        if (!slotName.match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        QLockFile lock(lockPath(path));
        lock.setStaleLockTime(0);
        bool readOnly = false;
        if (!lock.tryLock(0)) {
            if (lock.error() == QLockFile::LockFailedError)
                continue; // a running program's
            // No lock can be made in this folder, so no running program holds the file: it is
            // offered, though it cannot be removed.
            readOnly = true;
        }
        lock.unlock();
        Left left{path, {}, {}, 0, {}, readOnly};
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
        if (r.sheets.isEmpty()) {
            // Written before entries were kept per sheet: they belong to the sheets shown.
            if (TypedDegrees(r.orientationEntry).isNumber())
                document.setOrientationEntry(r.orientationEntry);
            for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
                const QString *entries = r.gridEntries + (side == ViewSide::Plan ? 0 : 2);
                if (numeric(entries[0]) && numeric(entries[1]))
                    document.setGridEntries(side, entries[0], entries[1]);
            }
        } else {
            UndoableSettings settings = document.undoableSettings();
            for (const SheetEntries &kept : std::as_const(r.sheets)) {
                for (SheetSettings &sheet : settings.sheets) {
                    if (sheet.id != kept.id)
                        continue;
                    const TypedDegrees north(kept.north);
                    if (sheet.kind == SheetKind::Plan && north.isNumber())
                        sheet.north = north;
                    if (numeric(kept.gridMetres) && numeric(kept.gridPixels)) {
                        sheet.gridMetresEntry = kept.gridMetres;
                        sheet.gridPixelsEntry = kept.gridPixels;
                    }
                }
            }
            if (settings != document.undoableSettings())
                document.restore(settings);
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

bool RecoveryFile::discard(const QString &path)
{
    QFile::remove(lockPath(path));
    return QFile::remove(path) || !QFile::exists(path);
}
