#pragma once

#include <QDialog>

class QSpinBox;

// Which page of a PDF sheet to open, and at what resolution.
class PdfPageDialog : public QDialog
{
    Q_OBJECT
public:
    PdfPageDialog(QWidget *parent, const QString &path, int pageCount, int page, int dotsPerInch);

    int page() const;
    int dotsPerInch() const;

    // Shows the dialog with *page and *dotsPerInch; on OK stores the choice and returns true.
    static bool choose(QWidget *parent, const QString &path, int pageCount, int *page, int *dotsPerInch);

private:
    QSpinBox *m_page;
    QSpinBox *m_resolution;
};
