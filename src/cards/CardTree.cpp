#include "CardTree.h"

#include "CardTables.h"
#include "storage/TableQuery.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <vector>

namespace CardTree {

void sortStable(QStringList& texts)
{
    if (texts.size() < 2)
        return;
    // A sort key per text, made once: comparing keys is a byte comparison, where comparing the texts themselves runs
    // the collation for every one of the n log n comparisons.
    static const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString& text : std::as_const(texts))
        keys.push_back(collator.sortKey(text));
    std::vector<qsizetype> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QStringList sorted;
    sorted.reserve(texts.size());
    for (qsizetype i : order)
        sorted.append(texts.at(i));
    texts = std::move(sorted);
}

QList<CardTreeCategory> arrange(const QStringList& categories, const QList<std::pair<QString, QString>>& cards)
{
    QHash<QString, QStringList> cardsOf;
    cardsOf.reserve(categories.size());
    for (const QString& category : categories)
        cardsOf.insert(category, {});
    for (const auto& [classify, name] : cards) {
        const auto found = cardsOf.find(classify);
        if (found != cardsOf.end())
            found->append(name);
    }
    for (QStringList& names : cardsOf)
        sortStable(names);

    QStringList ordered = categories;
    sortStable(ordered);
    QList<CardTreeCategory> tree;
    tree.reserve(ordered.size());
    for (const QString& category : std::as_const(ordered))
        tree.append({ category, cardsOf.value(category) });
    return tree;
}

QList<CardTreeCategory> read(TableQuery& categoryQuery, TableQuery& cardQuery)
{
    CardTables::setStatement(categoryQuery, CardTables::selectCategories());
    categoryQuery.open();
    QStringList categories;
    for (categoryQuery.first(); !categoryQuery.eof(); categoryQuery.next())
        categories << categoryQuery.fieldAsString(QStringLiteral("classify"));

    CardTables::setStatement(cardQuery, CardTables::selectCardNames());
    cardQuery.open();
    QList<std::pair<QString, QString>> cards;
    cards.reserve(cardQuery.recordCount());
    for (cardQuery.first(); !cardQuery.eof(); cardQuery.next())
        cards.append(
            { cardQuery.fieldAsString(QStringLiteral("classify")), cardQuery.fieldAsString(QStringLiteral("name")) });
    return arrange(categories, cards);
}

} // namespace CardTree
