#pragma once

#include <QObject>

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
