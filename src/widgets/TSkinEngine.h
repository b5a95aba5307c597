#pragma once

#include <QObject>
#include <QString>

/// Gives every window of the program its look from a skin file.
class TSkinEngine : public QObject
{
    Q_OBJECT
public:
    explicit TSkinEngine(QObject* parent = nullptr);

    QString SkinFile() const { return m_skinFile; }
    /// Loads the skin when the file exists; otherwise the current skin stays.
    void setSkinFile(const QString& path);
    bool Active() const { return m_active; }
    void setActive(bool active);

private:
    QString m_skinFile;
    bool m_active = false;
};
