#pragma once

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

// The text preview: the survey data text as lines the user may edit (edited() says when the user
// did). Created hidden at start-up and shown without being modal. Its title names the data file
// last saved ("Text data file - view" before any).
class SurveyTextWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SurveyTextWindow(QWidget *parent = nullptr);

    QStringList lines() const;
    void setLines(const QStringList &lines);
    void showDataFileName(const QString &dataFileName);
    void bringToFront();

    QPlainTextEdit *textBox = nullptr;

signals:
    void edited();

private:
    bool m_settingLines = false;
};
