#include "CardTables.h"

#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "storage/TableFiles.h"
#include "storage/TableQuery.h"
#include "text/SafeLiteral.h"
#include "text/TextLines.h"

namespace {

// The table path stands between quotes like any literal, so a program folder with a quote in its name still names
// one table.
QString table(const char* relative)
{
    return QLatin1Char('\'') + safeLiteral(AppPaths::appDir() + QString::fromLatin1(relative)) + QLatin1Char('\'');
}

QString quoted(const QString& value)
{
    return QLatin1Char('\'') + safeLiteral(value) + QLatin1Char('\'');
}

const char* const kCardSlash = "data/card.db";
const char* const kCardBackslash = "data\\card.db";

} // namespace

int Card::byteLimit(const QString& column)
{
    static const struct
    {
        const char* column;
        int bytes;
    } limits[]
        = { { "name", 8 },    { "netname", 20 }, { "qq", 15 },   { "msn", 30 },     { "uc", 15 },   { "email", 30 },
            { "mobile", 15 }, { "tel", 15 },     { "home", 30 }, { "address", 40 }, { "memo", 100 } };
    for (const auto& limit : limits) {
        if (column == QLatin1String(limit.column))
            return limit.bytes;
    }
    return 0;
}

const QStringList& Card::columns()
{
    static const QStringList list{ QStringLiteral("classify"), QStringLiteral("name"),    QStringLiteral("netname"),
                                   QStringLiteral("qq"),       QStringLiteral("msn"),     QStringLiteral("uc"),
                                   QStringLiteral("email"),    QStringLiteral("mobile"),  QStringLiteral("tel"),
                                   QStringLiteral("home"),     QStringLiteral("address"), QStringLiteral("memo") };
    return list;
}

const QStringList& Card::captions()
{
    static const QStringList list{ QStringLiteral("类       别:"), QStringLiteral("姓       名:"),
                                   QStringLiteral("网       名:"), QStringLiteral("QQ  号码:"),
                                   QStringLiteral("MSN号码:"),     QStringLiteral("UC   号码:"),
                                   QStringLiteral("电子邮箱:"),    QStringLiteral("手机号码:"),
                                   QStringLiteral("办公电话:"),    QStringLiteral("个人主页:"),
                                   QStringLiteral("联络地址:"),    QStringLiteral("备        注:") };
    return list;
}

namespace {

QString Card::*member(const QString& column)
{
    static const struct
    {
        const char* column;
        QString Card::*field;
    } fields[] = { { "num", &Card::num },       { "classify", &Card::classify },
                   { "name", &Card::name },     { "netname", &Card::netname },
                   { "qq", &Card::qq },         { "msn", &Card::msn },
                   { "uc", &Card::uc },         { "email", &Card::email },
                   { "mobile", &Card::mobile }, { "tel", &Card::tel },
                   { "home", &Card::home },     { "address", &Card::address },
                   { "memo", &Card::memo } };
    for (const auto& f : fields) {
        if (column.compare(QLatin1String(f.column), Qt::CaseInsensitive) == 0)
            return f.field;
    }
    throw AppError(QStringLiteral("找不到字段“%1”。").arg(column));
}

} // namespace

QString Card::value(const QString& column) const
{
    return this->*member(column);
}

void Card::setValue(const QString& column, const QString& text)
{
    this->*member(column) = text;
}

Card Card::fromQuery(const TableQuery& query)
{
    Card card;
    if (query.eof())
        return card;
    card.num = query.fieldAsString(QStringLiteral("num"));
    for (const QString& column : columns())
        card.setValue(column, query.fieldAsString(column));
    return card;
}

namespace CardTables {

QString cardTableFile()
{
    return TableFiles::resolve(AppPaths::appDir() + QString::fromLatin1(kCardBackslash)).filePath;
}

QString selectCard(const QString& name, const QString& category)
{
    return QStringLiteral("select * from ") + table(kCardSlash) + QStringLiteral(" where name=") + quoted(name)
        + QStringLiteral(" and classify=") + quoted(category);
}

QString selectCardToModify(const QString& name, const QString& category)
{
    return QStringLiteral("select * from ") + table(kCardBackslash) + QStringLiteral(" where name=") + quoted(name)
        + QStringLiteral(" and classify=") + quoted(category);
}

QString selectCardNames()
{
    return QStringLiteral("select classify,name from ") + table(kCardSlash);
}

QString deleteCard(const QString& num)
{
    return QStringLiteral("delete from ") + table(kCardBackslash) + QStringLiteral(" where num=") + quoted(num);
}

QString insertCard()
{
    return QStringLiteral("insert into ") + table(kCardBackslash)
        + QStringLiteral(" (classify,name,netname,qq,msn,uc,email,mobile,tel,home,address,memo )  "
                         "values(:a,:b,:c,:d,:e,:f,:g,:h,:i,:j,:k,:l)");
}

QString updateCard(const QString& num)
{
    return QStringLiteral("update ") + table(kCardBackslash)
        + QStringLiteral(" set classify=:a,name=:b,netname=:c,qq=:d,msn=:e,uc=:f,email=:g,mobile=:h,tel=:i,"
                         "home=:j,address=:k,memo=:l where num=")
        + quoted(num);
}

QString renameCategoryOfCards(const QString& oldName)
{
    return QStringLiteral("update ") + table(kCardBackslash) + QStringLiteral(" set classify=:a where classify=")
        + quoted(oldName);
}

QString deleteCardsOfCategory(const QString& category)
{
    return QStringLiteral("delete from ") + table(kCardBackslash) + QStringLiteral(" where classify=")
        + quoted(category);
}

QString searchCards(const QString& column, const QString& text)
{
    if (!searchColumns().contains(column))
        throw AppError(QStringLiteral("找不到字段“%1”。").arg(column));
    return QStringLiteral("select * from ") + table(kCardSlash) + QStringLiteral(" where  ") + column
        + QStringLiteral(" like '") + safeLiteral(text) + QStringLiteral("%'");
}

QString selectAllCards()
{
    return QStringLiteral("select * from ") + table(kCardBackslash);
}

QString selectCategories()
{
    return QStringLiteral("select * from ") + table("data/classify.db");
}

QString selectCategoryList()
{
    return QStringLiteral("select * from ") + table("data/classify");
}

QString refreshCategoryList()
{
    return QStringLiteral("select * from ") + table("data\\classify.db");
}

QString insertCategory()
{
    return QStringLiteral("insert into ") + table("data\\classify.db") + QStringLiteral(" (classify) values(:a)");
}

QString renameCategory(const QString& num)
{
    return QStringLiteral("update ") + table("data\\classify.db") + QStringLiteral(" set classify=:a where num=")
        + quoted(num);
}

QString deleteCategory(const QString& num)
{
    return QStringLiteral("delete from ") + table("data\\classify.db") + QStringLiteral(" where num=") + quoted(num);
}

const QStringList& searchColumns()
{
    static const QStringList list{ QStringLiteral("name"), QStringLiteral("netname"), QStringLiteral("qq"),
                                   QStringLiteral("msn"),  QStringLiteral("uc"),      QStringLiteral("mobile"),
                                   QStringLiteral("email") };
    return list;
}

void setStatement(TableQuery& query, const QString& statement)
{
    query.close();
    query.clearSql();
    query.addSql(statement);
}

void bindCard(TableQuery& query, const Card& card)
{
    const QStringList& cols = Card::columns();
    for (int i = 0; i < cols.size(); ++i)
        query.param(i).setAsString(card.value(cols.at(i)));
}

QString noteForTable(const QString& shown)
{
    QString text = withLineFeeds(shown);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace CardTables
