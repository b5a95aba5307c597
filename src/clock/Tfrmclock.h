#pragma once

#include "platform/SecondTimer.h"

#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <array>

class QAction;
class QMenu;

/// The small round desktop clock. Created once at start-up; the main window shows and hides it.
class Tfrmclock : public QWidget
{
    Q_OBJECT
public:
    /// mainWindow is the window "显示主窗口" brings back.
    explicit Tfrmclock(QWidget& mainWindow, QWidget* parent = nullptr);

    SecondTimer* Timer1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr; ///< "隐藏电子钟"
    QAction* N2 = nullptr; ///< "显示主窗口"

public slots:
    void FormCreate();
    void FormActivate();
    void Timer1Timer();
    void N1Click();
    void N2Click();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    /// Cuts the window to its disc and puts it at the top-right corner of the screen.
    void shapeAndPlace();
    /// The window above and below the centre, each drawn on its own.
    std::array<QRect, 2> halves() const;
    /// The face without its hands: background, dial, hour dots and numerals.
    QPixmap drawFace() const;

    QWidget& m_mainWindow;
    QPixmap m_face; ///< drawFace() at the window's size; empty until painted, and after a change of skin or font
};
