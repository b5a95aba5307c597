#pragma once

#include <QDateTime>
#include <QString>

/// helper.ini: whole numbers and texts by section and key, in GBK, like a private-profile file. The program reads
/// and writes its keys through the settings model (Settings.h), which holds every key, default and encoding once.
/// Every read opens the file afresh, unless the caller holds it (hold()), and every write is on disk before it returns
/// (see setFolderSync() for the one exception), made atomically (a temporary file renamed over the old one). A write
/// changes only its own line and keeps every other line, byte for byte.
class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    /// Reads the file once, now: the reads that follow answer from what was read, and each write starts from it and
    /// keeps it up to date, so one read serves many keys. For a caller that reads and writes within one moment.
    void hold();
    /// Whether a write also waits for the rename to reach the disk (the default). Without it a write is still
    /// atomic, and its content is on disk before the rename, but a power cut can leave the file as it was before.
    void setFolderSync(bool on) { m_folderSync = on; }

    const QString& path() const { return m_path; }

    /// Decimal, or hexadecimal with "0x" or "$". A missing key or anything else gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    /// A stored short date, long time, or both; a missing or unparsable value gives the default.
    QDateTime readDateTime(const QString& section, const QString& key, const QDateTime& defaultValue) const;

    /// Throw AppError when the file cannot be written; the old file is then left as it was.
    void writeInteger(const QString& section, const QString& key, int value);
    void writeString(const QString& section, const QString& key, const QString& value);

    /// A description of what is wrong with the file on disk (unreadable, not text, broken lines), or empty when it
    /// is sound or missing. Reads still give what can be read and the defaults for the rest.
    QString problem() const;

    /// Parses a whole number the way the file stores them; false when the text is not one.
    static bool parseInteger(const QString& text, int* value);

private:
    bool findValue(const QString& section, const QString& key, QString* value) const;
    /// The file's content (held or read now) and whether it was Missing (0), Read (1) or Unreadable (2).
    int content(QByteArray* data) const;

    QString m_path;
    bool m_held = false;
    int m_heldResult = 0;
    QByteArray m_heldData;
    bool m_folderSync = true;
};
