#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QWidget;

/// What the update's question and password windows share: a word-wrapped text Label1 at the top, a BottomPanel
/// with two buttons side by side in its middle (the first the default), a height that follows the text, and one
/// window per process at most, made on first use, that frees itself when closed.
class UpdateAskForm : public QDialog
{
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QWidget* BottomPanel = nullptr;

protected:
    UpdateAskForm(const QString& objectName, int clientWidth, int bottomHeight, Qt::WindowFlags flags, QWidget* parent);

    /// Makes the two buttons of the bottom panel, at y within it.
    void addButtons(QPushButton*& first, const char* firstName, QPushButton*& second, const char* secondName, int y);
    /// Fits the window to Label1's text and the bottom panel, centres it on the screen and shows it modally; true
    /// exactly when it was accepted.
    bool askModally();

    /// The open window of class Form, or nullptr.
    template <typename Form> static Form* openForm() { return slot<Form>(); }
    /// The window of class Form, made when none is open.
    template <typename Form> static Form& formToAsk()
    {
        QPointer<Form>& form = slot<Form>();
        if (!form)
            form = new Form;
        return *form;
    }

private:
    template <typename Form> static QPointer<Form>& slot()
    {
        static QPointer<Form> form;
        return form;
    }

    int m_clientWidth;
    int m_bottomHeight;
};
