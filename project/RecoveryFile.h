#pragma once

#include "project/ProjectContents.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>

class EditSession;
class SurveyDocument;

// The job as it stands, written every few seconds to a file in the user's data folder so that a
// crash or a power cut loses little: the project (stations and settings, as a project file) and,
// in its optional block, what a project does not hold: the project file it belongs to, the
// pending station and the texts typed for it, and the entries exactly as typed.
//
// Each running program takes a slot of its own (recovery-N.sprj, kept with a lock file), so two
// windows never write over each other; a slot whose lock is stale was left by a program that
// ended without a clean exit, and its file can be recovered.
class RecoveryFile
{
public:
    explicit RecoveryFile(QString folder);
    ~RecoveryFile();

    // Writes the job (whole-file, through a temporary file). Throws CommandError when it cannot.
    void write(const SurveyDocument &document, const EditSession &session);
    // A clean exit or a saved project: nothing left to recover.
    void remove();
    bool exists() const;
    const QString &path() const { return m_path; } // empty until the first write

    struct Left
    {
        QString path;
        QDateTime savedAt;
        QString projectPath; // the project the work belonged to; empty for a new job
        int stationCount = 0;
        QString problem;     // why the file cannot be recovered (damaged, cut short); empty when it can
        bool readOnly = false; // its folder cannot be written: it can be read back, not removed
    };
    // Files left by programs that ended without a clean exit, newest first.
    static QList<Left> leftBehind(const QString &folder);
    // After a recovery file was opened like a project (ProjectController::open): brings back the
    // pending station, the typed texts and entries it remembers, and the project file the work
    // belongs to (with the digest of that file as the work last knew it).
    static void restoreEditing(const ProjectContents &contents, SurveyDocument &document, EditSession &session);
    // Forgets a file left behind (after it was recovered or declined); false when it cannot be
    // removed (a folder that cannot be written).
    static bool discard(const QString &path);
    // Renames a file that cannot be recovered so it is never offered again; returns its new path.
    static QString setAside(const QString &path);

    static QString defaultFolder(); // the user's data folder for the program

private:
    void claim(); // throws CommandError saying why no file can be kept

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
