#include "app/ui/SurveyTextWindow.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

SurveyTextWindow::SurveyTextWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setGeometry(475, 246, 415, 355);
    showDataFileName(QString());
    textBox = new QPlainTextEdit(this);
    textBox->setObjectName(QStringLiteral("Memo1"));
    textBox->setAccessibleName(tr("Survey data text"));
    textBox->setBackgroundRole(QPalette::Button);
    textBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Narrow tab stops keep a survey leg with its comment on one line of the window.
    textBox->setTabStopDistance(textBox->fontMetrics().horizontalAdvance(QStringLiteral("000.00")) + 6);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textBox);
    connect(textBox, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingLines)
            emit edited();
    });
}

QStringList SurveyTextWindow::lines() const
{
    QStringList result;
    for (QTextBlock block = textBox->document()->begin(); block.isValid(); block = block.next())
        result.append(block.text());
    return result;
}

void SurveyTextWindow::setLines(const QStringList &lines)
{
    m_settingLines = true;
    textBox->setPlainText(lines.join(QChar('\n')));
    m_settingLines = false;
}

void SurveyTextWindow::showDataFileName(const QString &dataFileName)
{
    setWindowTitle(dataFileName.isEmpty() ? tr("Text data file - view") : tr("%1 - view").arg(dataFileName));
}

void SurveyTextWindow::bringToFront()
{
    show();
    raise();
    activateWindow();
}
