#include "app/ui/HelpWindow.h"

#include "app/AnsiText.h"
#include "app/HelpGuide.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Speomark - Help"));
    setGeometry(192, 114, 775, 613);
    guideBox = new QPlainTextEdit(this);
    guideBox->setObjectName(QStringLiteral("Memo1"));
    guideBox->setAccessibleName(QStringLiteral("Speomark - Help"));
    guideBox->setBackgroundRole(QPalette::Button);
    QFont font = guideBox->font();
    font.setPointSize(10);
    guideBox->setFont(font);
    guideBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    guideBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    guideBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(guideBox);
    // The guide is kept in the code page of the program's texts; the box shows it decoded.
    guideBox->setPlainText(AnsiText::decode(HelpGuide::text1251()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HelpWindow::bringToFront()
{
    show();
    raise();
    activateWindow();
}
