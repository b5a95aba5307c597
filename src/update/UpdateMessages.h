#pragma once

#include <QLocale>
#include <QString>
#include <QVariantList>

#include <optional>

/// The languages of the update component's message catalogue; the ordinals are those of the catalogue blocks
/// (language L owns the identifiers from 41000 + 50 * (L - 1)).
enum TAppUpdaterLanguage : int {
    wlAuto = 0,
    wlEnglish,
    wlRussian,
    wlGerman,
    wlFrench,
    wlSpanish,
    wlPortuguese,
    wlPortugueseBrazilian,
    wlItalian,
    wlDutch,
    wlDanish,
    wlSwedish,
    wlFinnish,
    wlEstonian,
    wlUkrainian,
    wlCzech,
    wlHungarian,
    wlRomanian,
    wlCatalan,
    wlBasque,
    wlAfrikaans,
    wlChineseTraditional,
    wlChineseSimplified,
    wlIndonesian,
    wlMalay,
    wlIcelandic,
};

/// The string with identifier MessageBase() + k of the selected language block (k = 0 to 30).
/// The text is as catalogued: "\r" and "\n" both stand for a line break, see withLineFeeds().
QString LoadMessage(int k);

/// Shows an application-owned error box with the given text, caption LoadMessage(0), error icon and OK.
/// Line breaks written as "\r" are shown as line breaks.
void ShowUpgradeError(const QString& text);

namespace UpdateMessages {

inline constexpr int FirstBlockId = 41000;
inline constexpr int BlockSize = 50;
inline constexpr int MessageCount = 31;
inline constexpr int LanguageCount = 25;
inline constexpr int AppTitleId = 40997; ///< "<AppTitle>"
inline constexpr int UnusableTitleId = 40998; ///< marker word of an application title that can't be shown
inline constexpr int AboutId = 40999; ///< "AppUpdater"

/// Messages after the first 31 of each block: why an update was refused. They are written for English and both
/// Chinese blocks; the other languages show the English text.
enum RefusalMessage : int {
    MsgNoPublicKey = 31,
    MsgSignatureMissing, ///< with the signature file's address
    MsgSignatureMalformed,
    MsgSignatureWrongKey,
    MsgSignatureInvalid,
    MsgInfoFileTooLarge,
    MsgEntryUnverified, ///< with the file's address
    MsgLocalAddress, ///< with the file's address
    MsgFileMismatch, ///< with the file's name
    MsgRefusalEnd
};

/// Any string of the catalogue by its identifier; empty where the catalogue holds none.
QString LoadString(int identifier);

/// The first identifier of the selected block. One value for the whole process: the last selection decides.
int MessageBase();

/// Runs the language selection for an assigned language (wlAuto follows the system language) and sets
/// MessageBase(). Returns the block's language, never wlAuto.
TAppUpdaterLanguage SelectLanguage(TAppUpdaterLanguage assigned);

/// The catalogue language for a Windows language identifier (primary language in the low 10 bits, the
/// sublanguage above them); English when no block matches.
TAppUpdaterLanguage LanguageForLangId(int langId);

/// The Windows language identifier a locale corresponds to; 0 (neutral) for a language without a block.
int LangIdForLocale(const QLocale& locale);

/// The locale wlAuto follows: QLocale::system(), unless a test set another one.
QLocale SystemLocale();
void setSystemLocaleForTesting(std::optional<QLocale> locale);

/// Fills a catalogue format: "%s" takes a string, "%d" and "%.Nd" (zero-padded to N digits) a whole number,
/// "%.Nf" a floating-point number with N decimals; "%%" is a percent sign. Arguments are used in order.
QString Format(const QString& format, const QVariantList& args);

} // namespace UpdateMessages
