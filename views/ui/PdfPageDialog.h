#pragma once

#include <QDialog>

class QLabel;
class QSpinBox;

// Which page of a PDF sheet to open, and at what resolution: no finer than the page's pixels fit
// this computer (one limit per page, as ImageRead::pdfHighestDotsPerInch gives them).
class PdfPageDialog : public QDialog
{
    Q_OBJECT
public:
    PdfPageDialog(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int page,
                  int dotsPerInch);

    int page() const;
    int dotsPerInch() const;

    // Shows the dialog with *page and *dotsPerInch; on OK stores the choice and returns true.
    static bool choose(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int *page,
                       int *dotsPerInch);

private:
    void limitResolution();

    QList<int> m_highest;
    QSpinBox *m_page;
    QLabel *m_limit;
    QSpinBox *m_resolution;
};
