#pragma once

#include <QDate>
#include <QString>

/// Backup, restore and text export of the card table. Only the card table moves; the category table stays.
namespace CardFiles {

/// The folder both file dialogs open in: the program folder's "bak/".
QString backupFolder();
/// The proposed backup name for a day: "名片数据[yyyymmdd].Dat".
QString backupFileName(const QDate& date);

/// Writes a consistent copy of the card table to target, replacing target only once the copy is whole.
/// Throws AppError when the copy cannot be made.
void backup(const QString& target);

/// Whether file is a database holding the card table with every one of its columns, undamaged.
bool isCardTable(const QString& file);

/// Replaces the card table with a copy of source. Returns false, with the table untouched, when source is no card
/// table or cannot be copied. The engine's connection to the table is closed before and opened again after.
bool restore(const QString& source);

/// The text export file: the program folder's "Card.txt".
QString exportFileName();
/// Writes every card, in table order, as one line of twelve TAB-separated fields ended by CR LF, in GB18030 (GBK for
/// every GBK character, so no character is lost).
/// Throws AppError with the file's own error when it cannot be written.
void exportText(const QString& file);

} // namespace CardFiles
