#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

/// Answers message boxes and file dialogs from a script, and records every box it was asked to show.
/// With nothing scripted a message box answers OK (or Yes) and a file dialog answers "cancelled".
class FakeDialogs : public Dialogs
{
public:
    struct Box
    {
        QString text;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
    };

    void setNextAnswer(MsgAnswer answer) { m_answers.enqueue(answer); }
    void setNextFileName(const QString& fileName) { m_files.enqueue(fileName); }

    MsgAnswer messageBox(QWidget*, const QString& text, const QString& caption, MsgIcon icon,
                         MsgButtons buttons) override
    {
        boxes.append(Box{ text, caption, icon, buttons });
        if (!m_answers.isEmpty())
            return m_answers.dequeue();
        return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgAnswer::Yes : MsgAnswer::Ok;
    }
    QString openFile(const FileDialogOptions& options) override
    {
        fileDialogs.append(options);
        return m_files.isEmpty() ? QString() : m_files.dequeue();
    }
    QString saveFile(const FileDialogOptions& options) override
    {
        fileDialogs.append(options);
        return m_files.isEmpty() ? QString() : m_files.dequeue();
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Box& box : boxes)
            result << box.text;
        return result;
    }

    QList<Box> boxes;
    QList<FileDialogOptions> fileDialogs;

private:
    QQueue<MsgAnswer> m_answers;
    QQueue<QString> m_files;
};
