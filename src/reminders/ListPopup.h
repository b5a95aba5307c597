#pragma once

/// The shape of the pop-ups that list reminders one per line: today's plan and the missed reminders. Both grow to
/// the taller size at the same number of lines, so the two never look different for the same list.
namespace ListPopup {

constexpr int kWidth = 270;

/// 400 for more than six lines, else 200.
constexpr int height(int lines)
{
    return lines > 6 ? 400 : 200;
}

} // namespace ListPopup
