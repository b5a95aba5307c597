#pragma once

#include "cards/CardTables.h"
#include "storage/TableQuery.h"

#include <QStringList>

// Rows written through the program's own statements, so the tests see what the windows would.
namespace CardSeed {

inline void addCategory(const QString& name)
{
    TableQuery q;
    CardTables::setStatement(q, CardTables::insertCategory());
    q.param(0).setAsString(name);
    q.execSql();
}

inline void addCard(const Card& card)
{
    TableQuery q;
    CardTables::setStatement(q, CardTables::insertCard());
    CardTables::bindCard(q, card);
    q.execSql();
}

inline void addCard(const QString& classify, const QString& name)
{
    Card card;
    card.classify = classify;
    card.name = name;
    addCard(card);
}

/// Every row of a select, one column, in table order.
inline QStringList column(const QString& statement, const QString& field)
{
    TableQuery q;
    CardTables::setStatement(q, statement);
    q.open();
    QStringList values;
    for (q.first(); !q.eof(); q.next())
        values << q.fieldAsString(field);
    return values;
}

inline QStringList cardNames()
{
    return column(CardTables::selectAllCards(), QStringLiteral("name"));
}
inline QStringList cardClasses()
{
    return column(CardTables::selectAllCards(), QStringLiteral("classify"));
}
inline QStringList categoryNames()
{
    return column(CardTables::selectCategories(), QStringLiteral("classify"));
}

} // namespace CardSeed
