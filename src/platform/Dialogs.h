#pragma once

#include <QString>

class QWidget;

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct FileDialogOptions
{
    QWidget* parent = nullptr;
    QString title;
    QString initialDir;
    QString fileName; ///< proposed name (save dialogs)
    QString filter; ///< Qt filter text, e.g. "名片通信录数据库 (*.Dat)"; empty means every file
    QString defaultSuffix; ///< without the dot
    bool confirmOverwrite = false;
};

/// Message boxes and file dialogs. Every modal question of the program goes through here, so tests answer it.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer messageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons)
        = 0;
    /// Returns the chosen full path, or an empty string when the user cancelled.
    virtual QString openFile(const FileDialogOptions& options) = 0;
    virtual QString saveFile(const FileDialogOptions& options) = 0;
};
