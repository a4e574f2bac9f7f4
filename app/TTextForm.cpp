#include "app/TTextForm.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

TTextForm::TTextForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Text data file - view"));
    setGeometry(475, 246, 415, 355);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setBackgroundRole(QPalette::Button);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Narrow tab stops keep a survey leg with its comment on one line of the window.
    Memo1->setTabStopDistance(Memo1->fontMetrics().horizontalAdvance(QStringLiteral("000.00")) + 6);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo1);
}

QStringList TTextForm::lines() const
{
    QStringList result;
    for (QTextBlock block = Memo1->document()->begin(); block.isValid(); block = block.next())
        result.append(block.text());
    return result;
}

void TTextForm::setLines(const QStringList &lines)
{
    Memo1->setPlainText(lines.join(QChar('\n')));
}
