#include "app/ui/RecoveryKeeper.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "survey/CommandError.h"
#include "widgets/DialogService.h"
#include "widgets/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

RecoveryKeeper::RecoveryKeeper(const SurveyDocument &document, const EditSession &session, QObject *parent)
    : QObject(parent), m_document(document), m_session(session)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(5000);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryKeeper::write);
}

void RecoveryKeeper::schedule()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void RecoveryKeeper::write()
{
    m_timer.stop();
    // Offering a job just opened or saved after a crash would only raise a question about work
    // that is safe.
    const bool unsaved = m_session.projectChanged() || m_document.modified()
        || m_session.pointPlaced(ViewSide::Plan) || m_session.pointPlaced(ViewSide::Profile);
    if (!unsaved) {
        m_file.remove();
        return;
    }
    try {
        m_file.write(m_document, m_session);
    } catch (const CommandError &error) {
        if (!m_failureShown)
            emit failed(error.message());
        m_failureShown = true;
    }
}

void RecoveryKeeper::remove()
{
    m_file.remove();
}

QList<RecoveryFile::Left> RecoveryKeeper::usableJobs(DialogService &dialogs, QWidget *parent)
{
    QList<RecoveryFile::Left> usable;
    for (const RecoveryFile::Left &left : RecoveryFile::leftBehind(RecoveryFile::defaultFolder())) {
        if (left.problem.isEmpty()) {
            usable.append(left);
            continue;
        }
        const QString aside = RecoveryFile::setAside(left.path);
        dialogs.message(parent, QStringLiteral("Speomark"),
                        tr("Work left behind by a Speomark that did not close cannot be read back: %1.\n\n"
                           "Its file was set aside as %2 and will not be offered again.")
                            .arg(left.problem, QDir::toNativeSeparators(aside)),
                        MessageIcon::Error);
    }
    return usable;
}

QList<RecoveryChoice> RecoveryKeeper::choose(DialogService &dialogs, QWidget *parent,
                                             const QList<RecoveryFile::Left> &jobs)
{
    const auto job = [](const RecoveryFile::Left &left) {
        return left.projectPath.isEmpty() ? tr("A new project, never saved") : QDir::toNativeSeparators(left.projectPath);
    };
    const auto when = [](const RecoveryFile::Left &left) {
        return Language::dateLocale().toString(left.savedAt.toLocalTime(), QLocale::ShortFormat);
    };
    if (jobs.size() == 1) {
        const RecoveryFile::Left &left = jobs.first();
        const QString question = tr("Recover unsaved work from %1?").arg(when(left)) + QStringLiteral("\n\n")
            + tr("%1: %n stations.", nullptr, left.stationCount).arg(job(left));
        if (dialogs.askYesNo(parent, QStringLiteral("Speomark"), question))
            return {RecoveryChoice::Recover};
        if (dialogs.askYesNo(parent, QStringLiteral("Speomark"),
                             tr("Discard this work for good? It cannot be brought back.\n\n"
                                "No keeps it, to be offered again at the next start.")))
            return {RecoveryChoice::Discard};
        return {};
    }
    // Many jobs are one list, not two questions each; the newest is proposed for recovery.
    QList<LeftBehindJob> listed;
    QList<RecoveryChoice> choices;
    for (const RecoveryFile::Left &left : jobs) {
        listed.append({job(left), when(left), left.stationCount});
        choices.append(choices.isEmpty() ? RecoveryChoice::Recover : RecoveryChoice::Keep);
    }
    return dialogs.chooseRecoveries(parent, listed, &choices) ? choices : QList<RecoveryChoice>();
}

QList<RecoveryFile::Left> RecoveryKeeper::offer(DialogService &dialogs, QWidget *parent)
{
    const QList<RecoveryFile::Left> usable = usableJobs(dialogs, parent);
    const QList<RecoveryChoice> choices = usable.isEmpty() ? QList<RecoveryChoice>() : choose(dialogs, parent, usable);
    QList<RecoveryFile::Left> taken;
    QStringList kept;
    for (int i = 0; i < usable.size() && i < choices.size(); ++i) {
        if (choices[i] == RecoveryChoice::Recover)
            taken.append(usable[i]);
        else if (choices[i] == RecoveryChoice::Discard && !RecoveryFile::discard(usable[i].path))
            kept.append(QDir::toNativeSeparators(usable[i].path));
    }
    if (!kept.isEmpty())
        dialogs.message(parent, QStringLiteral("Speomark"),
                        tr("These files cannot be removed, as their folder cannot be written; they will be "
                           "offered again:\n%1")
                            .arg(kept.join(QLatin1Char('\n'))),
                        MessageIcon::Error);
    return taken;
}
