#pragma once

#include <QWidget>
#include <memory>
#include <vector>

/// Creates every window of the program once, in the fixed order: the main window first, the desktop clock last.
/// Each window's creation handler runs during its creation. The windows live until the object is destroyed.
class StartUp
{
public:
    StartUp();
    ~StartUp();

private:
    template <typename T> T* create();

    std::vector<std::unique_ptr<QWidget>> m_windows;
};
