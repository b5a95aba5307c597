#pragma once

#include "platform/Dialogs.h"

class LinuxDialogs : public Dialogs
{
public:
    MsgAnswer messageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    QString openFile(const FileDialogOptions& options) override;
    QString saveFile(const FileDialogOptions& options) override;
};
