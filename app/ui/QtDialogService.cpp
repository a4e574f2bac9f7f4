#include "app/ui/QtDialogService.h"

#include "widgets/Language.h"
#include "output/ui/SurveyDetailsDialog.h"
#include "views/ui/PdfPageDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QTableWidget>
#include <QLabel>
#include <QHeaderView>
#include <QDialogButtonBox>
#include <QDialog>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>

namespace {

// The dialogs' own captions, in the interface's language.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(QtDialogService)
};

} // namespace

QString withDefaultSuffix(const QString &path, const QString &defaultSuffix)
{
    if (path.isEmpty() || defaultSuffix.isEmpty())
        return path;
    if (QFileInfo(path).fileName().contains(QChar('.')))
        return path;
    return path + QChar('.') + defaultSuffix;
}

bool QtDialogService::execute(QWidget *parent, FileDialog &dialog)
{
    const bool save = dialog.kind == FileDialog::Kind::Save;
    QFileDialog box(parent);
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!dialog.filter.isEmpty())
        box.setNameFilter(dialog.filter);
    box.setDefaultSuffix(dialog.defaultSuffix);
    box.setOption(QFileDialog::DontConfirmOverwrite, !dialog.overwritePrompt);
    box.setOption(QFileDialog::DontUseNativeDialog, !Language::nativeDialogsFit());
    const QString folderKey = QStringLiteral("folders/") + dialog.settingsKey;
    if (!dialog.fileName.isEmpty()) {
        const QFileInfo info(dialog.fileName);
        if (info.dir().exists())
            box.setDirectory(info.dir());
        box.selectFile(info.fileName());
    } else if (!dialog.settingsKey.isEmpty()) {
        const QString folder = QSettings().value(folderKey).toString();
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            box.setDirectory(folder);
    }
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return false;
    dialog.fileName = withDefaultSuffix(box.selectedFiles().constFirst(), dialog.defaultSuffix);
    dialog.selectedFilter = box.selectedNameFilter();
    if (!dialog.settingsKey.isEmpty())
        QSettings().setValue(folderKey, QFileInfo(dialog.fileName).absolutePath());
    return true;
}

void QtDialogService::message(QWidget *parent, const QString &caption, const QString &text,
                              MessageIcon icon)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(icon == MessageIcon::Information ? QMessageBox::Information
                : icon == MessageIcon::Error     ? QMessageBox::Critical
                                                 : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

Answer QtDialogService::askYesNoCancel(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool QtDialogService::askYesNo(QWidget *parent, const QString &caption, const QString &text, Answer defaultAnswer)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtDialogService::askText(QWidget *parent, const QString &caption, const QString &label, QString *text)
{
    bool ok = false;
    const QString typed = QInputDialog::getText(parent, caption, label, QLineEdit::Normal, *text, &ok);
    if (ok)
        *text = typed;
    return ok;
}

bool QtDialogService::choosePdfPage(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch,
                                    int *page, int *dotsPerInch)
{
    return PdfPageDialog::choose(parent, path, highestDotsPerInch, page, dotsPerInch);
}

bool QtDialogService::offerToLocate(QWidget *parent, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
    QAbstractButton *locate = box.addButton(Words::tr("Locate..."), QMessageBox::ActionRole);
    box.exec();
    return box.clickedButton() == locate;
}

bool QtDialogService::editSurveyDetails(QWidget *parent, SurveyDetails *details, const QStringList &entranceChoices)
{
    SurveyDetailsDialog dialog(*details, entranceChoices, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *details = dialog.details();
    return true;
}

bool QtDialogService::chooseRecoveries(QWidget *parent, const QList<LeftBehindJob> &jobs, QList<RecoveryChoice> *choices)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(Words::tr("Speomark: Recover Unsaved Work"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *intro = new QLabel(Words::tr("Speomark did not close properly and left this unsaved work. Choose for each "
                                       "job: recover it (each in a window of its own), keep it to be offered at the "
                                       "next start, or discard it for good."),
                             &dialog);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *table = new QTableWidget(int(jobs.size()), 4, &dialog);
    table->setObjectName(QStringLiteral("recoveryList"));
    table->setAccessibleName(Words::tr("Unsaved work left behind"));
    table->setHorizontalHeaderLabels({Words::tr("Project"), Words::tr("Saved"), Words::tr("Stations"), Words::tr("Action")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    QList<QComboBox *> actions;
    for (int row = 0; row < jobs.size(); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(jobs[row].project));
        table->setItem(row, 1, new QTableWidgetItem(jobs[row].savedAt));
        table->setItem(row, 2, new QTableWidgetItem(QString::number(jobs[row].stationCount)));
        auto *action = new QComboBox(table);
        action->addItems({Words::tr("Keep"), Words::tr("Recover"), Words::tr("Discard")});
        action->setAccessibleName(Words::tr("Action for %1, %2").arg(jobs[row].project, jobs[row].savedAt));
        action->setCurrentIndex(int(choices->value(row, RecoveryChoice::Keep)));
        table->setCellWidget(row, 3, action);
        actions.append(action);
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(720, 360);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choices->clear();
    for (QComboBox *action : std::as_const(actions))
        choices->append(RecoveryChoice(action->currentIndex()));
    return true;
}
