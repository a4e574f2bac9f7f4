#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Marks a project file as open in this window, so another Speomark (or another window of this
// one) opening the same file can say so before both save over each other. The mark is a lock
// file in the user's data folder, named after the project's full path; one left by a program
// that crashed is stale and taken over.
class ProjectLock
{
public:
    ProjectLock();
    ~ProjectLock();

    // Holds the project at `path` for this window (letting go of any other). False when another
    // running program holds it; *holder then says which (its process number). When no mark can
    // be made (a data folder that cannot be written) it is true and problem() says why.
    bool take(const QString &path, QString *holder);
    const QString &problem() const { return m_problem; }
    void release();
    // The path held; empty when none.
    const QString &path() const { return m_path; }

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    QString m_problem;
};
