#pragma once

#include "CardTables.h"

#include <QFrame>

class GbkLineEdit;
class GbkTextEdit;
class QComboBox;
class QPushButton;

/// The twelve input fields of the card editors: an editable category box, ten edit fields and the note, each with
/// its byte limit. Enter in an edit field moves on to the next field; Enter in the note starts a new line.
class CardFieldPanel : public QFrame
{
    Q_OBJECT
public:
    explicit CardFieldPanel(QWidget* parent = nullptr);

    QComboBox* ComboBox1 = nullptr; ///< classify
    GbkLineEdit* Edit1 = nullptr; ///< name
    GbkLineEdit* Edit2 = nullptr; ///< netname
    GbkLineEdit* Edit3 = nullptr; ///< qq
    GbkLineEdit* Edit4 = nullptr; ///< msn
    GbkLineEdit* Edit5 = nullptr; ///< uc
    GbkLineEdit* Edit6 = nullptr; ///< email
    GbkLineEdit* Edit7 = nullptr; ///< mobile
    GbkLineEdit* Edit8 = nullptr; ///< tel
    GbkLineEdit* Edit9 = nullptr; ///< home
    GbkLineEdit* Edit10 = nullptr; ///< address
    GbkTextEdit* Memo1 = nullptr; ///< memo

    /// The card as the fields hold it; num stays empty.
    Card card() const;
    /// Fills every field but the category box.
    void setCard(const Card& card);
    /// Empties the ten edit fields and the note; the category box keeps its text.
    void clearFields();
    /// Empties the category box, list and text.
    void clearCategories();
    /// Appends the name of every category, in table order.
    void appendCategories();

    /// The last input field, for the tab order that goes on to the buttons.
    QWidget* lastField() const;

    /// False, after the refusal "请 输 入 姓 名!" and with the focus on the name, when the name is empty.
    bool requireName();

    /// The editors' "确定" and "取消" under the panel. Enter belongs to the field chain, never to a button, and the
    /// tab order goes from the last field on to them.
    struct Buttons
    {
        QPushButton* ok;
        QPushButton* cancel;
    };
    Buttons addButtons(QWidget* owner);
};
