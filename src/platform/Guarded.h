#pragma once

#include "AppError.h"
#include "Services.h"

#include <exception>
#include <utility>

/// The error boundary of every handler. A handler that cannot go on throws AppError; the error ends that handler
/// here, at the frame where it started, and goes to the application's error box (Services::reportError: one box at
/// a time, and a cause already waiting or showing is not queued again). It never unwinds into Qt's event dispatch,
/// which is not built to carry it. Every slot a signal runs, every timer tick and every event handler that can fail
/// (a window's show and close handlers) goes through here.

/// Runs one handler; false when it ended with an error, which has been reported.
template <typename Handler> bool runGuarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const AppError& error) {
        Services::reportError(error.text());
    } catch (const std::exception& error) {
        Services::reportError(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

/// What QObject::connect() takes for a handler slot of a window: runs `slot` of `receiver` through runGuarded(),
/// with the arguments of the signal that the slot takes.
template <typename Receiver, typename Owner, typename... Args>
auto guarded(Receiver* receiver, void (Owner::*slot)(Args...))
{
    return [receiver, slot](Args... args) { runGuarded([&] { (receiver->*slot)(args...); }); };
}

/// The same for a handler written in place, which takes no arguments.
template <typename Handler> auto guarded(Handler handler)
{
    return [handler = std::move(handler)]() mutable { runGuarded(handler); };
}
