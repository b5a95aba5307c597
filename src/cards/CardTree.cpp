#include "CardTree.h"

#include "CardTables.h"
#include "storage/TableQuery.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {

/// Sorts by the zh_CN collation, keeping the order of texts that collate alike.
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

} // namespace

namespace CardTree {

QList<CardTreeCategory> read(TableQuery& categoryQuery, TableQuery& cardQuery)
{
    CardTables::setStatement(categoryQuery, CardTables::selectCategories());
    categoryQuery.open();
    QStringList categories;
    for (categoryQuery.first(); !categoryQuery.eof(); categoryQuery.next())
        categories << categoryQuery.fieldAsString(QStringLiteral("classify"));

    // A category lists the cards whose classify is its name; two categories of one name share one list, and a card
    // whose classify names no category is left out.
    QHash<QString, QStringList> cardsOf;
    cardsOf.reserve(categories.size());
    for (const QString& category : std::as_const(categories))
        cardsOf.insert(category, {});
    CardTables::setStatement(cardQuery, CardTables::selectCardNames());
    cardQuery.open();
    const QString classify = QStringLiteral("classify");
    const QString name = QStringLiteral("name");
    for (cardQuery.first(); !cardQuery.eof(); cardQuery.next()) {
        const auto found = cardsOf.find(cardQuery.fieldAsString(classify));
        if (found != cardsOf.end())
            found->append(cardQuery.fieldAsString(name));
    }
    for (QStringList& names : cardsOf)
        sortStable(names);

    sortStable(categories);
    QList<CardTreeCategory> tree;
    tree.reserve(categories.size());
    for (const QString& category : std::as_const(categories))
        tree.append({ category, cardsOf.value(category) });
    return tree;
}

} // namespace CardTree
