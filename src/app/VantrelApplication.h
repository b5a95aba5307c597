#pragma once

#include <QApplication>
#include <QStringList>
#include <memory>

class ModalityPolicy;
class SingleInstance;
struct PlatformLayer;

/// The application object: installs the platform layer, loads the Chinese translation of Qt's own texts, and shows
/// the errors that end handlers (see Guarded.h) in the error box, one at a time.
class VantrelApplication : public QApplication
{
    Q_OBJECT
public:
    VantrelApplication(int& argc, char** argv);
    ~VantrelApplication() override;

    /// Call before the application object exists: on a Wayland session the program asks for X11 (XWayland),
    /// because it places its own windows (pop-ups, the desktop clock); and it paints without shared-memory images.
    static void preparePlatform();

    /// Builds the platform layer of this system and installs every seam of it.
    void installPlatform();
    /// The single-instance guard of the installed platform layer.
    SingleInstance& singleInstance();
    void loadTranslations() { installQtTranslation(this); }
    /// Loads Qt's own Simplified Chinese texts, so that standard buttons read 确定 and 取消. False when missing.
    static bool installQtTranslation(QCoreApplication* app);

    /// The window a modal window blocks when nothing else owns it (see ModalityPolicy).
    void setMainWindow(QWidget* window);

    /// Shows an error in the error box: one box at a time, and a text already waiting or showing is not queued again.
    void showError(const QString& text);

private:
    void showNextError();

    QStringList m_pendingErrors;
    bool m_showingError = false;
    ModalityPolicy* m_modality = nullptr;
    std::unique_ptr<PlatformLayer> m_platform;
};
