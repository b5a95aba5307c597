#pragma once

#include <QObject>
#include <QString>

/// Gives every window of the program its look. A skin file (".skn") is a Qt style sheet; the engine puts it on the
/// application object, so every window, those already open and those shown later, takes it at once. Until a skin
/// file has been loaded an active engine shows its built-in skin.
class TSkinEngine : public QObject
{
    Q_OBJECT
public:
    explicit TSkinEngine(QObject* parent = nullptr);
    ~TSkinEngine() override;

    /// The file of the skin in use; empty while the built-in skin is used.
    QString SkinFile() const { return m_skinFile; }
    /// Loads the skin when the file exists and repaints with it when active; otherwise the current skin stays.
    /// A file that exists but cannot be read is reported as an error and the current skin stays.
    void setSkinFile(const QString& path);
    bool Active() const { return m_active; }
    /// Switches skinning on (the loaded or built-in skin) or off (the desktop's own look).
    void setActive(bool active);

    /// The style sheet the engine puts on the program while active.
    QString styleSheet() const;
    /// The built-in skin.
    static QString builtInSkin();

private:
    void apply();

    QString m_skinFile;
    QString m_sheet;
    bool m_active = false;
};
