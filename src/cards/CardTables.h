#pragma once

#include <QString>
#include <QStringList>

class TableQuery;

/// One row of the card table, every column as text. A card belongs to its category by name, not by num.
struct Card
{
    QString num;
    QString classify;
    QString name;
    QString netname;
    QString qq;
    QString msn;
    QString uc;
    QString email;
    QString mobile;
    QString tel;
    QString home;
    QString address;
    QString memo; ///< as stored: line breaks are CR LF

    /// The columns a card is written with (num is never written), in the order of the insert's parameters and of
    /// the text export: classify, name, netname, qq, msn, uc, email, mobile, tel, home, address, memo.
    static const QStringList& columns();
    /// The byte limit of a column, as the editors count it and an import cuts to; 0 for none (the category).
    static int byteLimit(const QString& column);
    /// The captions shown beside those columns, in the same order.
    static const QStringList& captions();

    QString value(const QString& column) const;
    void setValue(const QString& column, const QString& text);

    /// The query's current row; every field empty when there is none.
    static Card fromQuery(const TableQuery& query);
};

/// One row of the category table.
struct CardCategory
{
    QString num;
    QString classify;
};

/// The statements issued on the card table "data/card.db" and the category table "data/classify.db", built as
/// text the moment they are needed. Every value placed between quotes goes through safeLiteral(), so a name with a
/// quote in it stays one literal and never changes which rows a statement touches. The relative table names keep the
/// spellings the windows have always used; the table engine takes every one of them to the same file.
namespace CardTables {

/// The card table file, as the engine resolves it.
QString cardTableFile();

// Card table.
QString selectCard(const QString& name, const QString& category); ///< the details of a tree node
QString selectCardToModify(const QString& name, const QString& category); ///< a tree node loaded for modifying
/// classify and name of every card, in table order: all the card manager's tree needs, in one statement.
QString selectCardNames();
QString deleteCard(const QString& num);
QString insertCard(); ///< :a … :l as in bindCard()
QString updateCard(const QString& num); ///< :a … :l as in bindCard()
QString renameCategoryOfCards(const QString& oldName); ///< :a the new name
QString deleteCardsOfCategory(const QString& category);
/// Cards whose column begins with text; "%" and "_" in text keep their wildcard meaning.
QString searchCards(const QString& column, const QString& text);
QString selectAllCards();

// Category table.
QString selectCategories(); ///< the tree and the editors' category boxes
QString selectCategoryList(); ///< the category list window when it is shown
QString refreshCategoryList(); ///< the category list window after a change
QString insertCategory(); ///< :a the name
QString renameCategory(const QString& num); ///< :a the new name
QString deleteCategory(const QString& num);

/// The columns the search window can search, in the order of its choices.
const QStringList& searchColumns();

/// Closes the query and gives it the statement as its only line.
void setStatement(TableQuery& query, const QString& statement);
/// Binds :a … :l of an insert or update of a whole card, each as a string.
void bindCard(TableQuery& query, const Card& card);

/// The note as the table keeps it: line breaks CR LF, which the note's byte limit counts. Editors show it through
/// withLineFeeds().
QString noteForTable(const QString& shown);

} // namespace CardTables
