#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

/// Gives every window of the program its look. A skin file (".skn") is a Qt style sheet. Until a skin file has been
/// loaded an active engine shows its built-in skin.
///
/// The sheet goes on each window of its own as Qt first polishes it, that is before the window is first shown or
/// measured, and at once on those already polished. A window that belongs to another (a menu, a message, a list that
/// drops down) takes the skin from the window it belongs to; when that one was never shown, it is skinned as the
/// other is about to show. Putting the sheet on the application instead would make Qt work out the skin's rules for
/// every widget of every window at start-up and keep them: most of the program's memory at rest, for windows that
/// are mostly never opened.
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
    /// The style sheet the windows wear now: styleSheet() while active, none while not.
    QString sheetInUse() const { return m_active ? styleSheet() : QString(); }
    /// The built-in skin.
    static QString builtInSkin();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();
    void dress(QWidget* window);
    void dressOwnerOf(QWidget* window);
    void menuAboutToShow();

    QString m_skinFile;
    QString m_sheet;
    bool m_active = false;
    QList<QPointer<QWidget>> m_dressed; ///< the windows wearing the sheet
};
