#include "app/SpeomarkWindows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Speomark"));
    SpeomarkWindows windows;
    windows.SpeomarkForm.show();
    application.exec();
    return 0;
}
