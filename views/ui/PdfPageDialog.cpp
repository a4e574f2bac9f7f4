#include "views/ui/PdfPageDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <algorithm>

namespace {

// Below this a survey sheet's lines and numbers cannot be read; beyond it an A0 sheet needs
// gigabytes (and less than this when the computer cannot hold them).
constexpr int LowestDotsPerInch = 50;
constexpr int HighestDotsPerInch = 1200;

} // namespace

PdfPageDialog::PdfPageDialog(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int page,
                             int dotsPerInch)
    : QDialog(parent), m_highest(highestDotsPerInch)
{
    const int pageCount = int(highestDotsPerInch.size());
    setWindowTitle(tr("Open PDF Sheet"));
    setObjectName(QStringLiteral("pdfPageDialog"));
    auto *layout = new QFormLayout(this);
    auto *file = new QLabel(QFileInfo(path).fileName(), this);
    file->setToolTip(QDir::toNativeSeparators(path));
    layout->addRow(tr("File:"), file);
    m_page = new QSpinBox(this);
    m_page->setObjectName(QStringLiteral("pdfPageBox"));
    m_page->setRange(1, std::max(1, pageCount));
    m_page->setValue(std::clamp(page, 1, std::max(1, pageCount)));
    m_page->setSuffix(tr(" of %1").arg(pageCount));
    m_page->setEnabled(pageCount > 1);
    layout->addRow(tr("Page:"), m_page);
    m_resolution = new QSpinBox(this);
    m_resolution->setObjectName(QStringLiteral("pdfResolutionBox"));
    m_resolution->setSingleStep(50);
    m_resolution->setSuffix(tr(" dpi"));
    layout->addRow(tr("Resolution:"), m_resolution);
    m_limit = new QLabel(this);
    layout->addRow(m_limit);
    limitResolution();
    m_resolution->setValue(dotsPerInch);
    connect(m_page, &QSpinBox::valueChanged, this, &PdfPageDialog::limitResolution);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

void PdfPageDialog::limitResolution()
{
    const int index = m_page->value() - 1;
    const int highest = index < m_highest.size() ? m_highest[index] : HighestDotsPerInch;
    m_resolution->setRange(LowestDotsPerInch, std::clamp(highest, LowestDotsPerInch, HighestDotsPerInch));
    m_limit->setText(tr("This computer can hold this page at up to %1 dpi.").arg(highest));
    m_limit->setVisible(highest < HighestDotsPerInch);
}

int PdfPageDialog::page() const
{
    return m_page->value();
}

int PdfPageDialog::dotsPerInch() const
{
    return m_resolution->value();
}

bool PdfPageDialog::choose(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int *page,
                           int *dotsPerInch)
{
    PdfPageDialog dialog(parent, path, highestDotsPerInch, *page, *dotsPerInch);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *page = dialog.page();
    *dotsPerInch = dialog.dotsPerInch();
    return true;
}
