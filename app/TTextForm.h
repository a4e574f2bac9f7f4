#pragma once

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

// The text preview: the survey data text as lines the user may edit; Save writes these lines.
// Created hidden at start-up and shown without being modal.
class TTextForm : public QWidget
{
    Q_OBJECT
public:
    explicit TTextForm(QWidget *parent = nullptr);

    QStringList lines() const;
    void setLines(const QStringList &lines);

    QPlainTextEdit *Memo1 = nullptr;
};
