#pragma once

#include <QObject>

#include <functional>

class QTableView;

/// Leaves the polish of a widget in a hidden window until the window is shown.
///
/// Qt asks for every new widget to be polished at the next turn of the event loop (QEvent::PolishRequest): the
/// style, and with it the skin's style sheet, works out the widget's look and loads the fonts its text needs. For the
/// windows the program creates at start-up and keeps hidden, that was most of the memory they cost and a good part of
/// the first turn of the loop. Qt polishes a widget anyway before it is first shown or measured for a layout, so
/// nothing a person sees changes. Installed on the application.
class DeferredPolish : public QObject
{
    Q_OBJECT
public:
    explicit DeferredPolish(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/// Keeps a grid's column titles from being measured until the grid is first shown. Giving a table view its model
/// sizes the titles' text at once, which loads the font engines of the grid's font (about a megabyte) for a window
/// that may never be opened. Call before setModel: the titles stay hidden until the grid is first shown, then
/// appear and the grid lays itself out, before anything is drawn. atFirstShow runs then too, before the layout: the
/// place for the rest of the grid's sizing that needs its font (row height, column widths by their text).
void deferHeaderSizing(QTableView* grid, std::function<void()> atFirstShow = {});
