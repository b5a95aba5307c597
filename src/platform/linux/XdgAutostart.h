#pragma once

#include "platform/Autostart.h"

/// The desktop's autostart entry "vantrel888.desktop" in $XDG_CONFIG_HOME/autostart (else ~/.config/autostart).
class XdgAutostart : public Autostart
{
public:
    void enable(const QString& executablePath) override;
    void disable() override;

    /// Where the entry lives.
    static QString entryPath();
    /// The entry's text for a program path: the path is always quoted, so blanks and other reserved characters in
    /// it survive the desktop's command-line parsing.
    static QByteArray entryText(const QString& executablePath);
    /// The Exec value for a program path, quoted and escaped by the desktop-entry rules.
    static QString execValue(const QString& executablePath);
};
