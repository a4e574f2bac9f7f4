#include "app/ui/SpeomarkWindows.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <csignal>
#include <exception>

int main(int argc, char *argv[])
{
    // Beyond a file-size limit a save then fails and is reported like a full disk, rather than
    // the signal killing the window with the unsaved work in it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Speomark"));
    QApplication::setOrganizationName(QStringLiteral("Speomark"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Digitise scanned cave survey drawings (a plan and an extended "
                                                    "profile) into Survex or Lumaro survey data."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QStringLiteral("A Speomark project (.sprj) to open at start-up, as File > Open "
                                                "Existing Project would."),
                                 QStringLiteral("[PROJECT.sprj]"));
    parser.process(application);

    try {
        SpeomarkWindows windows;
        MainWindow &window = windows.mainWindow;
        window.show();
        // Work a crashed program left behind comes first; taken up, it is the job.
        bool recovered = false;
        window.guard([&] { recovered = window.offerRecovery(); });
        if (!recovered && !parser.positionalArguments().isEmpty()) {
            const QString project = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
            window.guard([&] { window.openProject(project); });
        }
        application.exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Speomark"), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Speomark"), QString());
    }
    return 0;
}
