#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The nine reminder sounds a user can pick by name, and how a stored sound value becomes a file to play.
namespace SoundCatalogue {

struct Entry
{
    QString name; ///< what the editors list and the table stores
    QString file; ///< the file in the sound folder
};

/// The catalogue in the order the editors list it; the first is a new reminder's default.
const QList<Entry>& entries();
QStringList names();

/// The file of a catalogue name in the sound folder; empty when the name is not in the catalogue.
QString fileOf(const QString& name);

/// The file a stored `sound` value plays: empty for no sound, the sound folder's file for a catalogue name, and
/// any other value unchanged (a full path the user chose).
QString resolve(const QString& value);

/// The file the editors preview when a name is picked in their sound list: the two wave sounds by their own file
/// names, anything else as a tune named after the text.
QString previewFile(const QString& pickedText);

} // namespace SoundCatalogue
