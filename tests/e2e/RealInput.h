#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

/// Real mouse and keyboard for end-to-end tests. A control is found by its text through the accessibility bus (or a
/// window by its X geometry) and then clicked, or keys typed, with XTest (xdotool), so the program gets exactly
/// what a person's input gives it: window modality, focus and stacking all apply. QTest events, slot calls and
/// accessibility actions bypass them, so they cannot show that a person can do something.
///
/// Every wait keeps the test's own event loop running, so a loopback server inside the test goes on answering.
/// Needs xdotool, python3-pyatspi and at-spi2-core, and the program started with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
/// inside tests/tools/with-desktop.sh (ProgramUnderTest does both).
namespace RealInput {

/// The screen rectangle of a showing control of the program with process id pid. It is found by its text (or
/// accessible name; "&" is ignored, so "[&O]确定" matches), within the top-level window of that title when window
/// is not empty, and of that at-spi role ("push button", "menu item", "check box", ...) when role is not empty.
/// Waits up to timeoutMs for it to show; an empty rectangle when it did not.
QRect findControl(qint64 pid, const QString& window, const QString& name, const QString& role = {},
                  int timeoutMs = 15000);

/// The rectangle of an X window given by its id (as xdotool prints it); empty when it does not exist.
QRect windowRect(const QString& windowId);

/// Moves the pointer to a point of the screen and clicks there: button 1 left, 2 middle, 3 right.
bool click(const QPoint& point, int button = 1);

/// Finds a control as findControl does and clicks its centre. False when it was not found.
bool clickControl(qint64 pid, const QString& window, const QString& name, const QString& role = {},
                  int timeoutMs = 15000);

/// Presses and releases keys, in xdotool's names separated by blanks ("Return", "alt+F4", "Down Down Return"). They
/// go where a person's keys go: to the window that has the keyboard focus, or to an open menu.
bool key(const QString& keys);

/// Types text key by key, as a person does, where a person's keys go. Characters the keyboard map lacks are typed
/// through a spare key that xdotool maps for the moment, so keep to plain ASCII where the text itself is not tested.
bool type(const QString& text);

/// The id of the X window that has the keyboard focus, or an empty string.
QString focusedWindow();

/// Runs a helper program while the event loop goes on; its standard output, or an empty string when it failed.
QString run(const QString& program, const QStringList& arguments, int timeoutMs = 20000);

} // namespace RealInput
