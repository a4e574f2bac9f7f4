#include "app/TDHelpForm.h"

#include "app/AnsiText.h"
#include "app/HelpGuide.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TDHelpForm::TDHelpForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Speomark - Help"));
    setGeometry(192, 114, 775, 613);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setBackgroundRole(QPalette::Button);
    QFont font = Memo1->font();
    font.setPointSize(10);
    Memo1->setFont(font);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
    // The guide is kept in the code page of the program's texts; the box shows it decoded.
    Memo1->setPlainText(AnsiText::decode(HelpGuide::text1251()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}
