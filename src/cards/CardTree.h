#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class TableQuery;

/// One top-level node of the card manager's tree: a category and the names of its cards.
struct CardTreeCategory
{
    QString name;
    QStringList cards;
};

/// What the card manager's tree lists, in the order it shows it.
namespace CardTree {

/// Reads the category table with categoryQuery and the card table's classify and name with cardQuery, one select
/// each, and orders them the way a Chinese reader expects (by pinyin, the zh_CN collation), whatever the process
/// locale: the categories, and within each category its cards. Texts that collate alike keep their table order. A
/// category lists the cards whose classify is its name, so two categories of one name list the same cards, and a
/// card whose classify names no category is not listed.
QList<CardTreeCategory> read(TableQuery& categoryQuery, TableQuery& cardQuery);

} // namespace CardTree
