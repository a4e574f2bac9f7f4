#pragma once

#include <QWidget>

class ImageLoader;
class QProgressBar;
class QToolButton;

// The status bar's part in opening scans: the share read (a busy bar while the reader cannot
// tell) and Cancel. Shown while the loader reads, hidden otherwise. (Esc is the window's own
// shortcut, which cancels the loader while it is busy.)
class LoadProgress : public QWidget
{
    Q_OBJECT
public:
    explicit LoadProgress(QWidget *parent = nullptr);

    void watch(ImageLoader *loader);

private:
    void showShare(int permille);

    ImageLoader *m_loader = nullptr;
    QProgressBar *m_bar;
    QToolButton *m_cancel;
};
