#pragma once

#include <QIcon>
#include <QWidget>

class QToolButton;
class QVBoxLayout;

/// The navigation bar on the left of the main window: collapsible headers, each over a group of large image
/// buttons and labels. One group is open at a time, as in an accordion.
class TNavBar : public QWidget
{
    Q_OBJECT
public:
    explicit TNavBar(QWidget* parent = nullptr);

    /// Adds a header with an empty group under it; returns its index.
    int addHeader(const QString& caption);
    /// Adds a large image button to a header's group. Its accessible name is its caption.
    QToolButton* addButton(int header, const QString& caption, const QIcon& icon);
    /// Adds a line of text to a header's group that does nothing.
    void addLabel(int header, const QString& caption);

    int headerCount() const { return int(m_groups.size()); }
    QToolButton* header(int index) const;
    /// Opens one group and closes the others.
    void expand(int header);
    int expandedHeader() const { return m_expanded; }

private:
    struct Group
    {
        QToolButton* header = nullptr;
        QWidget* body = nullptr;
        QVBoxLayout* layout = nullptr;
    };
    QVector<Group> m_groups;
    QVBoxLayout* m_layout = nullptr;
    int m_expanded = -1;
};
