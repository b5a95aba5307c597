#include "LinuxDialogs.h"

#include "text/TextLines.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

void prepare(QFileDialog& dialog, const FileDialogOptions& options)
{
    dialog.setWindowTitle(options.title);
    if (!options.initialDir.isEmpty())
        dialog.setDirectory(options.initialDir);
    if (!options.filter.isEmpty())
        dialog.setNameFilter(options.filter);
    if (!options.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(options.defaultSuffix);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
}

} // namespace

MsgAnswer LinuxDialogs::messageBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                                   MsgButtons buttons)
{
    QMessageBox box(toQt(icon), caption, withLineFeeds(text), toQt(buttons), parent);
    box.setAccessibleName(caption);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

QString LinuxDialogs::openFile(const FileDialogOptions& options)
{
    QFileDialog dialog(options.parent);
    prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString LinuxDialogs::saveFile(const FileDialogOptions& options)
{
    QFileDialog dialog(options.parent);
    prepare(dialog, options);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
