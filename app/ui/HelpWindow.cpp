#include "app/ui/HelpWindow.h"

#include "survey/AnsiText.h"
#include "app/HelpGuide.h"
#include "widgets/Language.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Speomark - Help"));
    setGeometry(192, 114, 775, 613);
    guideBox = new QPlainTextEdit(this);
    guideBox->setObjectName(QStringLiteral("Memo1"));
    guideBox->setAccessibleName(tr("Speomark - Help"));
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
    // The guide in the interface's language; the Russian one is kept in the code page of the
    // program's texts and shown decoded.
    const QString guide = Language::current() == Language::Applied::Russian ? AnsiText::decode(HelpGuide::text1251())
                                                                            : HelpGuide::englishText();
    guideBox->setPlainText(QString(guide).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HelpWindow::bringToFront()
{
    show();
    raise();
    activateWindow();
}
