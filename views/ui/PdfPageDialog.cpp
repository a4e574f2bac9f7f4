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
// gigabytes.
constexpr int LowestDotsPerInch = 50;
constexpr int HighestDotsPerInch = 1200;

} // namespace

PdfPageDialog::PdfPageDialog(QWidget *parent, const QString &path, int pageCount, int page, int dotsPerInch)
    : QDialog(parent)
{
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
    m_resolution->setRange(LowestDotsPerInch, HighestDotsPerInch);
    m_resolution->setSingleStep(50);
    m_resolution->setValue(std::clamp(dotsPerInch, LowestDotsPerInch, HighestDotsPerInch));
    m_resolution->setSuffix(tr(" dpi"));
    layout->addRow(tr("Resolution:"), m_resolution);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

int PdfPageDialog::page() const
{
    return m_page->value();
}

int PdfPageDialog::dotsPerInch() const
{
    return m_resolution->value();
}

bool PdfPageDialog::choose(QWidget *parent, const QString &path, int pageCount, int *page, int *dotsPerInch)
{
    PdfPageDialog dialog(parent, path, pageCount, *page, *dotsPerInch);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *page = dialog.page();
    *dotsPerInch = dialog.dotsPerInch();
    return true;
}
