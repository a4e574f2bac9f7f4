#include "widgets/Language.h"
#include "app/ui/SpeomarkWindows.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <csignal>
#include <exception>
#include <list>
#include <memory>

namespace {

void describe(QCommandLineParser &parser)
{
    QCoreApplication::setApplicationName(QStringLiteral("Speomark"));
    QCoreApplication::setOrganizationName(QStringLiteral("Speomark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    parser.setApplicationDescription(QStringLiteral("Digitise scanned cave survey drawings (a plan and an extended "
                                                    "profile) into Survex or Lumaro survey data."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"),
                                 QStringLiteral("A Speomark project (.sprj) to open at start-up, as File > Open "
                                                "Existing Project would."),
                                 QStringLiteral("[PROJECT.sprj]"));
}

// --help and --version answer without a screen: they need no window system.
bool onlyAsksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-v"
            || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (onlyAsksForText(argc, argv)) {
        QCoreApplication application(argc, argv);
        QCommandLineParser parser;
        describe(parser);
        parser.process(application); // prints and exits
        return 0;
    }
    // Beyond a file-size limit a save then fails and is reported like a full disk, rather than
    // the signal killing the window with the unsaved work in it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QCommandLineParser parser;
    describe(parser);
    parser.process(application);
    // The windows take their texts as they are made, so the language comes first.
    Language::applyChosen();

    try {
        SpeomarkWindows windows;
        MainWindow &window = windows.mainWindow;
        // Each further job recovered after a crash gets a window of its own.
        std::list<std::unique_ptr<SpeomarkWindows>> more;
        window.setWindowOpener([&more] {
            more.push_back(std::make_unique<SpeomarkWindows>());
            MainWindow &another = more.back()->mainWindow;
            another.show();
            return &another;
        });
        window.placeAsLastClosed();
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
