#pragma once

#include "platform/AppPaths.h"
#include "storage/TableFiles.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <stdexcept>

// Tables filled in one transaction straight through the engine's connection: seeding 100,000 rows through the
// program's own one-row statements would take minutes, and only the reading side is measured.
namespace BenchData {

inline QSqlDatabase tableConnection(const char* relative)
{
    return TableFiles::connection(TableFiles::resolve(AppPaths::appDir() + QString::fromLatin1(relative)));
}

inline void exec(QSqlQuery& q)
{
    if (!q.exec())
        throw std::runtime_error(q.lastError().text().toStdString());
}

/// Plausible Chinese personal names, all different for the first few hundred thousand.
inline QString personName(int i)
{
    static const QString surnames
        = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘");
    static const QString given = QStringLiteral("伟芳娜敏静丽强磊军洋勇艳杰娟涛明超秀霞平刚桂英华玉兰萍红建国文辉力");
    QString name = surnames.at(i % surnames.size());
    int rest = i / int(surnames.size());
    do {
        name += given.at(rest % given.size());
        rest /= int(given.size());
    } while (rest > 0);
    return name;
}

inline QStringList categoryNames()
{
    return { QStringLiteral("同学"), QStringLiteral("同事"), QStringLiteral("朋友"), QStringLiteral("家人"),
             QStringLiteral("客户"), QStringLiteral("老师"), QStringLiteral("邻居"), QStringLiteral("其他") };
}

/// The categories above and `count` cards spread over them, every field filled; every mobile number begins
/// with "1".
inline void seedCards(int count)
{
    QSqlDatabase classify = tableConnection("data/classify.db");
    classify.transaction();
    QSqlQuery c(classify);
    c.prepare(QStringLiteral("insert into classify (classify) values (?)"));
    for (const QString& category : categoryNames()) {
        c.bindValue(0, category);
        exec(c);
    }
    classify.commit();

    QSqlDatabase cards = tableConnection("data/card.db");
    cards.transaction();
    QSqlQuery q(cards);
    q.prepare(QStringLiteral("insert into card (classify,name,netname,qq,msn,uc,email,mobile,tel,home,address,memo) "
                             "values (?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QStringList categories = categoryNames();
    for (int i = 0; i < count; ++i) {
        const QString n = QString::number(i);
        const QVariantList values{ categories.at(i % categories.size()),
                                   personName(i),
                                   QStringLiteral("网名") + n,
                                   QString::number(100000 + i),
                                   QStringLiteral("msn%1@example.com").arg(i),
                                   QString::number(500000 + i),
                                   QStringLiteral("user%1@example.com").arg(i),
                                   QStringLiteral("1%1").arg(3800000000LL + i),
                                   QStringLiteral("010-%1").arg(60000000 + i),
                                   QStringLiteral("http://example.com/~%1").arg(i),
                                   QStringLiteral("北京市海淀区中关村大街%1号").arg(i % 500),
                                   QStringLiteral("第一行\r\n第二行 %1").arg(i) };
        for (int v = 0; v < values.size(); ++v)
            q.bindValue(v, values.at(v));
        exec(q);
    }
    cards.commit();
}

/// `count` active reminders of every frequency, spread over the day, none due between 03:00 and 04:00.
inline void seedReminders(int count)
{
    QSqlDatabase db = tableConnection("data/time.db");
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into time (hint,hintdate,hinttime,content,sound,frequency,program,dispear) "
                             "values (?,?,?,?,?,?,?,?)"));
    static const char* const frequencies[]
        = { "每天一次", "每月一次", "每周周一", "每周周三", "每周周五", "仅一次", "每周周日" };
    for (int i = 0; i < count; ++i) {
        const QTime time = QTime(4, 0).addSecs(i % (20 * 3600));
        const QDate date = QDate(2026, 1, 1).addDays(i % 365);
        const QVariantList values{ QStringLiteral("是"),
                                   date.toString(QStringLiteral("yyyy-MM-dd")),
                                   time.toString(QStringLiteral("HH:mm:ss")),
                                   QStringLiteral("提醒事项 %1：开会、打电话、取快递").arg(i),
                                   QStringLiteral("sound/clocker.wav"),
                                   QString::fromUtf8(frequencies[i % 7]),
                                   QString(),
                                   QStringLiteral("60") };
        for (int v = 0; v < values.size(); ++v)
            q.bindValue(v, values.at(v));
        exec(q);
    }
    db.commit();
}

} // namespace BenchData
