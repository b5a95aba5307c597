#pragma once

#include "ProgramWindows.h"
#include "cards/TFrmCalendar.h"
#include "cards/TFrmCard.h"
#include "cards/Tfrmaddcard.h"
#include "cards/Tfrmaddclass.h"
#include "cards/Tfrmeditcard.h"
#include "cards/Tfrmeditclass.h"
#include "cards/Tfrmsetclass.h"

#include <QApplication>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

/// The program's windows as start-up builds them, over the TestEnvironment the test made first; the card windows at
/// hand.
struct CardWindows
{
    ProgramWindows program;
    TFrmCalendar& calendar = program.window<TFrmCalendar>();
    TFrmCard& card = program.window<TFrmCard>();
    Tfrmsetclass& setclass = program.window<Tfrmsetclass>();
    Tfrmaddcard& addcard = program.window<Tfrmaddcard>();
    Tfrmeditcard& editcard = program.window<Tfrmeditcard>();
    Tfrmaddclass& addclass = program.window<Tfrmaddclass>();
    Tfrmeditclass& editclass = program.window<Tfrmeditclass>();
};

/// Runs `action` on the next modal window once it is open; the window is closed afterwards unless the action closed
/// it. Returns a flag that tells whether a modal window was seen.
inline std::shared_ptr<QString> whenModal(std::function<void(QWidget*)> action)
{
    auto seen = std::make_shared<QString>();
    QTimer::singleShot(0, qApp, [action, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        *seen = modal->objectName();
        action(modal);
        if (modal->isVisible())
            modal->close();
    });
    return seen;
}

/// The tree as shown: "category" and "category/card" lines in display order.
inline QStringList treeLines(const QTreeWidget* tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* node = tree->topLevelItem(i);
        lines << node->text(0);
        for (int j = 0; j < node->childCount(); ++j)
            lines << node->text(0) + QLatin1Char('/') + node->child(j)->text(0);
    }
    return lines;
}
