#pragma once

#include "CardTables.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

/// The card book as vCard: one vCard 3.0 file holding every card, and cards read back from the vCard 2.1, 3.0 and
/// 4.0 files that phones, web address books and mail programs write.
namespace VCard {

/// The name the export proposes: "名片.vcf".
QString defaultFileName();

/// The cards as a vCard 3.0 file: UTF-8, lines ended by CR LF and folded at 75 octets, values escaped.
QByteArray write(const QList<Card>& cards);

/// Writes every card of the card table, in table order, to file; an existing file is replaced only once the new one
/// is whole. Returns the number of cards. Throws AppError when the file cannot be written.
int exportFile(const QString& file);

/// Why an entry of a file was not imported.
enum class Skip {
    Incomplete, ///< the file ends, or the next entry begins, before its END:VCARD
    NoName, ///< neither a formatted name, nor a structured one, nor a nickname or organisation
    Duplicate, ///< every field equals a card already in the book, or one earlier in the file
};
constexpr int kSkipKinds = 3;

/// One card read from a file, ready for the table: line breaks of the note CR LF, every value within its limit.
struct Entry
{
    Card card;
    int fieldsCut = 0; ///< values that were longer than their field and were cut
};

struct ReadResult
{
    bool isVCard = false; ///< false when the bytes hold no vCard at all
    QList<Entry> entries;
    std::array<int, kSkipKinds> skipped{};
};

/// Reads every vCard in the bytes. Never throws; what cannot be read is skipped and counted.
ReadResult read(const QByteArray& bytes);

struct ImportResult
{
    bool isVCard = false;
    int imported = 0;
    int fieldsCut = 0; ///< of the cards imported
    std::array<int, kSkipKinds> skipped{};
};

/// Adds the cards of a vCard file to the card table, and every category they name that the category table lacks,
/// all in one transaction: when anything fails nothing is added. Existing cards and categories are never changed.
/// Throws AppError when the file cannot be read or a table fails.
ImportResult importFile(const QString& file);

/// The one message that ends an import.
QString summary(const ImportResult& result);

} // namespace VCard
