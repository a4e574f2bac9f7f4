// Writes the application icon as PNG files for the desktop's icon theme.
#include "widgets/Glyphs.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: speomark-make-icon OUTPUT.png\n");
        return 2;
    }
    return Glyphs::applicationIcon().convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
