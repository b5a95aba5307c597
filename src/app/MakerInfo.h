#pragma once

#include <QString>

/// The maker's addresses, opened from the navigation bar, the tray menu and the About window.
namespace MakerInfo {
inline QString homePage()
{
    return QStringLiteral("www.brellan.example");
}
inline QString guestBook()
{
    return QStringLiteral("www.brellan.example/book/index.asp");
}
inline QString mailAddress()
{
    return QStringLiteral("vantrel@brellan.example");
}
} // namespace MakerInfo
