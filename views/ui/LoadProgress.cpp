#include "views/ui/LoadProgress.h"

#include "views/ImageLoader.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QToolButton>

LoadProgress::LoadProgress(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("openProgressBar"));
    m_bar->setAccessibleName(tr("Opening"));
    m_bar->setFixedWidth(160);
    m_bar->setMaximumHeight(16);
    m_bar->setTextVisible(false);
    m_cancel = new QToolButton(this);
    m_cancel->setObjectName(QStringLiteral("openCancelButton"));
    m_cancel->setText(tr("Cancel"));
    m_cancel->setAutoRaise(true);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(m_cancel, &QToolButton::clicked, this, [this] {
        if (m_loader)
            m_loader->cancel();
    });
    hide();
}

void LoadProgress::watch(ImageLoader *loader)
{
    m_loader = loader;
    connect(loader, &ImageLoader::progressChanged, this, &LoadProgress::showShare);
    connect(loader, &ImageLoader::finished, this, &QWidget::hide);
}

void LoadProgress::showShare(int permille)
{
    if (!m_loader || !m_loader->isBusy())
        return;
    if (permille < 0) {
        m_bar->setRange(0, 0);
    } else {
        m_bar->setRange(0, 1000);
        m_bar->setValue(permille);
    }
    show();
}
