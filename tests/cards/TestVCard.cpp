#include "CardSeed.h"
#include "TestEnvironment.h"
#include "cards/VCard.h"
#include "platform/AppError.h"
#include "storage/TableFiles.h"
#include "text/Gbk.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QTest>

#include <initializer_list>
#include <utility>

Q_DECLARE_METATYPE(Card)

using namespace CardSeed;
using namespace Qt::StringLiterals;

namespace {

using Fields = std::initializer_list<std::pair<const char*, QString>>;

Card card(Fields fields)
{
    Card c;
    for (const auto& [column, value] : fields)
        c.setValue(QString::fromLatin1(column), value);
    return c;
}

/// Every written column, one "column=value" line each, so a failing comparison names the field.
QStringList describe(const Card& c)
{
    QStringList lines;
    for (const QString& column : Card::columns())
        lines << column + u'=' + c.value(column);
    return lines;
}

QList<QStringList> describe(const QList<Card>& cards)
{
    QList<QStringList> all;
    for (const Card& c : cards)
        all << describe(c);
    return all;
}

QList<Card> cardsOf(const VCard::ReadResult& result)
{
    QList<Card> cards;
    for (const VCard::Entry& e : result.entries)
        cards << e.card;
    return cards;
}

QList<Card> tableCards()
{
    TableQuery q;
    CardTables::setStatement(q, CardTables::selectAllCards());
    q.open();
    QList<Card> cards;
    for (q.first(); !q.eof(); q.next()) {
        Card c = Card::fromQuery(q);
        c.num.clear();
        cards << c;
    }
    return cards;
}

QByteArray fixture(const QString& name)
{
    QFile f(QStringLiteral(VANTREL_TEST_DATA "/vcard/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFile(const TestEnvironment& env, const QByteArray& bytes)
{
    env.writeFile(QStringLiteral("bak/in.vcf"), bytes);
    return env.path(QStringLiteral("bak/in.vcf"));
}

QByteArray lines(const QList<QByteArray>& list)
{
    QByteArray out;
    for (const QByteArray& l : list)
        out += l + "\r\n";
    return out;
}

/// A card with every field in use: Chinese text, quotes, and every character vCard must escape.
Card fullCard()
{
    return card({ { "classify", u"朋友, \"老\"同学"_s },
                  { "name", u"张'三"_s },
                  { "netname", u"小张;\\阿三"_s },
                  { "qq", u"10001"_s },
                  { "msn", u"zs@hotmail.com"_s },
                  { "uc", u"u 20002"_s },
                  { "email", u"zhang.san@example.cn"_s },
                  { "mobile", u"+86 138-0000"_s },
                  { "tel", u"010-1234,5678"_s },
                  { "home", u"http://a.cn/?x=1;y=2"_s },
                  { "address", u"北京市海淀区中关村大街1号"_s },
                  { "memo", u"第一行：\"引号\"、'单引号'\r\n第二行 a,b;c\\d\r\n"_s } });
}

} // namespace

class TestVCard : public QObject
{
    Q_OBJECT
private slots:
    void writesThePropertiesOfEveryField();
    void foldsLongLinesBetweenCharacters();
    void roundTrip_data();
    void roundTrip();
    void roundTripThroughTheTables();
    void readsEachExporter_data();
    void readsEachExporter();
    void readsEachCharset_data();
    void readsEachCharset();
    void phonesAndAddressesBeyondTheFirstGoToTheNote();
    void cutsAndSkips();
    void badFiles_data();
    void badFiles();
    void importAddsOnlyWhatIsNew();
    void failedImportAddsNothing_data();
    void failedImportAddsNothing();
    void survivesRandomBytesAndTruncation();
};

void TestVCard::writesThePropertiesOfEveryField()
{
    const QByteArray out = VCard::write({ fullCard() });
    const QByteArray expected = lines({ "BEGIN:VCARD",
                                        "VERSION:3.0",
                                        "FN:张'三",
                                        "N:张'三;;;;",
                                        "NICKNAME:小张\\;\\\\阿三",
                                        "IMPP:qq:10001",
                                        "X-QQ:10001",
                                        "IMPP:msnim:zs@hotmail.com",
                                        "X-MSN:zs@hotmail.com",
                                        "IMPP:x-uc:u%2020002",
                                        "X-UC:u 20002",
                                        "EMAIL;TYPE=INTERNET:zhang.san@example.cn",
                                        "TEL;TYPE=CELL:+86 138-0000",
                                        "TEL;TYPE=WORK,VOICE:010-1234\\,5678",
                                        "URL:http://a.cn/?x=1\\;y=2",
                                        "ADR:;;北京市海淀区中关村大街1号;;;;",
                                        "LABEL:北京市海淀区中关村大街1号",
                                        "NOTE:第一行：\"引号\"、'单引号'\\n第二行 a\\,b\\;c\\\\d\\n",
                                        "CATEGORIES:朋友\\, \"老\"同学",
                                        "END:VCARD" });
    QCOMPARE(QString::fromUtf8(out), QString::fromUtf8(expected));

    // Empty fields are left out; FN and N are always there.
    const QByteArray bare = VCard::write({ card({ { "name", u"李四"_s } }) });
    QCOMPARE(bare, lines({ "BEGIN:VCARD", "VERSION:3.0", "FN:李四", "N:李四;;;;", "END:VCARD" }));
}

void TestVCard::foldsLongLinesBetweenCharacters()
{
    // Lengths chosen so that a plain cut at 75 octets would fall inside a three-octet character.
    for (int pad = 0; pad < 3; ++pad) {
        const Card c
            = card({ { "name", u"王"_s }, { "memo", QString(pad, u'x') + QString(80, QChar(0x4E2D)) + u"尾"_s } });
        const QByteArray out = VCard::write({ c });
        QVERIFY(out.endsWith("\r\n"));
        QVERIFY(!out.contains("\n\n") && out.count('\n') == out.count("\r\n"));
        for (const QByteArray& line : out.split('\n')) {
            const QByteArray bare = line.endsWith('\r') ? line.chopped(1) : line;
            QVERIFY2(bare.size() <= 75, bare.constData());
            QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            const QString text = utf8.decode(bare);
            QVERIFY2(!utf8.hasError(), "a line break inside a character");
        }
        const VCard::ReadResult back = VCard::read(out);
        QCOMPARE(back.entries.size(), 1);
        QCOMPARE(back.entries.first().card.memo, Gbk::truncate(c.memo, 100));
    }
}

void TestVCard::roundTrip_data()
{
    QTest::addColumn<Card>("card");
    QTest::newRow("every field") << fullCard();
    QTest::newRow("only a name") << card({ { "classify", u"家人"_s }, { "name", u"妈妈"_s } });
    QTest::newRow("blanks kept") << card({ { "classify", u"  x  "_s },
                                           { "name", u" 阿 "_s },
                                           { "address", u"  两个  空格 "_s },
                                           { "memo", u"\r\n  缩进\r\n\r\n"_s } });
    QTest::newRow("values at their limits")
        << card({ { "classify", u"很长很长很长很长很长很长的分类名称没有长度限制"_s },
                  { "name", u"欧阳娜娜"_s },
                  { "netname", u"一二三四五六七八九十"_s },
                  { "qq", u"123456789012345"_s },
                  { "msn", u"abcdefghij@abcdefghij.example"_s },
                  { "uc", u"九九九九九九九a"_s },
                  { "email", u"a@b.c"_s },
                  { "mobile", u"138000000000000"_s },
                  { "tel", u"010-12345678901"_s },
                  { "home", u"https://例子.中国/页面/abc"_s },
                  { "address", u"一二三四五六七八九十一二三四五六七八九十"_s },
                  { "memo", QString(48, QChar(0x5B57)) + u"\r\n"_s } });
    QTest::newRow("escapes of every kind") << card({ { "classify", u"a\\,b;c"_s },
                                                     { "name", u"\\n"_s },
                                                     { "qq", u"%20:/"_s },
                                                     { "home", u"\\\\srv\\share"_s },
                                                     { "memo", u"\\n is not a line break"_s } });
}

void TestVCard::roundTrip()
{
    QFETCH(Card, card);
    const VCard::ReadResult back = VCard::read(VCard::write({ card, card }));
    QVERIFY(back.isVCard);
    QCOMPARE(back.skipped, (std::array<int, VCard::kSkipKinds>{}));
    QCOMPARE(back.entries.size(), 2);
    for (const VCard::Entry& e : back.entries) {
        QCOMPARE(describe(e.card), describe(card));
        QCOMPARE(e.fieldsCut, 0);
    }
}

void TestVCard::roundTripThroughTheTables()
{
    const QList<Card> cards{ fullCard(), card({ { "classify", u"同事"_s }, { "name", u"O'Brien"_s } }),
                             card({ { "classify", u"同事"_s }, { "name", u"李四"_s }, { "mobile", u"139"_s } }) };
    const QString file = QDir::temp().filePath(u"vantrel-roundtrip-%1.vcf"_s.arg(QCoreApplication::applicationPid()));
    {
        TestEnvironment env;
        for (const Card& c : cards)
            addCard(c);
        QCOMPARE(VCard::exportFile(file), 3);
    }
    TestEnvironment env;
    addCategory(u"同事"_s);
    const VCard::ImportResult result = VCard::importFile(file);
    QFile::remove(file);
    QCOMPARE(result.imported, 3);
    QCOMPARE(describe(tableCards()), describe(cards));
    // The one missing category is added once; the existing one is left alone.
    QCOMPARE(categoryNames(), (QStringList{ u"同事"_s, fullCard().classify }));
}

void TestVCard::readsEachExporter_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<Card>>("cards");
    QTest::newRow("Google Contacts, 3.0")
        << u"google.vcf"_s
        << QList<Card>{
               card({ { "classify", u"myContacts"_s },
                      { "name", u"张伟"_s },
                      { "netname", u"大伟"_s },
                      { "email", u"zhangwei@example.com"_s },
                      { "mobile", u"138 0013 8000"_s },
                      { "tel", u"010-6552 1234"_s },
                      { "home", u"http://example.com/zw"_s },
                      { "address", u"中国北京朝阳区建国路88号 100022"_s },
                      { "memo",
                        u"大学同学\r\n喜欢打篮球\r\n电话：010-8888 0000\r\n电子邮箱：wei.zhang@example.org"_s } }),
               card({ { "classify", u"myContacts"_s },
                      { "name", u"O'Neil"_s },
                      { "email", u"mary@example.com"_s },
                      { "mobile", u"+1 555 0100"_s } })
           };
    QTest::newRow("Apple Contacts, 3.0 with groups")
        << u"apple.vcf"_s
        << QList<Card>{ card({ { "classify", u"同事"_s },
                               { "name", u"李娜"_s },
                               { "netname", u"娜娜"_s },
                               { "qq", u"123456789"_s },
                               { "msn", u"lina@hotmail.com"_s },
                               { "email", u"lina@example.cn"_s },
                               { "mobile", u"139-1234-5678"_s },
                               { "tel", u"021-5555 6666"_s },
                               { "home", u"https://lina.example.cn"_s },
                               { "address", u"上海南京路100号 200001"_s },
                               { "memo", u"第一行\r\n第二行，含逗号, 和分号;"_s } }) };
    QTest::newRow("Android, 2.1 quoted-printable")
        << u"android.vcf"_s
        << QList<Card>{ card({ { "classify", u"未分类"_s },
                               { "name", u"王芳"_s },
                               { "qq", u"987654"_s },
                               { "email", u"wangfang@example.com"_s },
                               { "mobile", u"13700001111"_s },
                               { "tel", u"020-3333 4444"_s },
                               { "memo", u"这是一条很长的备注\r\n电话：13700002222"_s } }),
                        card({ { "classify", u"未分类"_s }, { "name", u"Tom"_s }, { "tel", u"+86 10 1234"_s } }) };
    QTest::newRow("Outlook, 2.1 GB2312") << u"outlook.vcf"_s
                                         << QList<Card>{ card(
                                                { { "classify", u"未分类"_s },
                                                  { "name", u"陈明"_s },
                                                  { "email", u"chenming@example.com.cn"_s },
                                                  { "mobile", u"186 8888 9999"_s },
                                                  { "tel", u"0755-8888 1234"_s },
                                                  { "home", u"http://www.example.com.cn"_s },
                                                  { "address", u"中国广东深圳深南大道6008号 518000"_s } }) };
    QTest::newRow("Thunderbird, 4.0 without FN")
        << u"thunderbird.vcf"_s
        << QList<Card>{ card({ { "classify", u"未分类"_s },
                               { "name", u"Jo Li"_s },
                               { "email", u"john@example.net"_s },
                               { "mobile", u"+1-555-0123"_s },
                               { "tel", u"+1 555 0199"_s },
                               { "home", u"https://john.example.net"_s },
                               { "address", u"123 Main St, Springfield, IL 62701, USA"_s },
                               { "memo", u"Met at the conference, 2025\r\n电子邮箱：john.smith@work.example"_s } }) };
}

void TestVCard::readsEachExporter()
{
    QFETCH(QString, file);
    QFETCH(QList<Card>, cards);
    const QByteArray bytes = fixture(file);
    QVERIFY(!bytes.isEmpty());
    const VCard::ReadResult result = VCard::read(bytes);
    QVERIFY(result.isVCard);
    QCOMPARE(result.skipped, (std::array<int, VCard::kSkipKinds>{}));
    QCOMPARE(describe(cardsOf(result)), describe(cards));
    for (const VCard::Entry& e : result.entries)
        QCOMPARE(e.fieldsCut, 0);
}

void TestVCard::readsEachCharset_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("name");
    const QString name = u"朱镕基"_s; // 镕 is in GBK, not in GB2312
    const QByteArray gbk = QStringEncoder("GB18030").encode(name);
    const QByteArray utf8 = name.toUtf8();
    QByteArray qp;
    for (const char c : gbk)
        qp += '=' + QByteArray::number(uchar(c), 16).toUpper();
    QTest::newRow("UTF-8") << "FN;CHARSET=UTF-8:" + utf8 << name;
    QTest::newRow("UTF-8 by default") << "FN:" + utf8 << name;
    QTest::newRow("GBK") << "FN;CHARSET=GBK:" + gbk << name;
    QTest::newRow("GBK quoted-printable") << "FN;CHARSET=GBK;ENCODING=QUOTED-PRINTABLE:" + qp << name;
    QTest::newRow("GB2312") << "FN;CHARSET=gb2312:" + QStringEncoder("GB18030").encode(u"李鹏"_s) << u"李鹏"_s;
    QTest::newRow("GB18030, four-byte character")
        << "FN;CHARSET=GB18030:" + QStringEncoder("GB18030").encode(u"𠀀明"_s) << u"𠀀明"_s;
    QTest::newRow("Chinese code page without a charset") << "FN:" + gbk << name;
    QTest::newRow("Latin-1") << QByteArray("FN;CHARSET=ISO-8859-1:Jos\xE9") << u"José"_s;
}

void TestVCard::readsEachCharset()
{
    QFETCH(QByteArray, property);
    QFETCH(QString, name);
    const VCard::ReadResult result = VCard::read(lines({ "BEGIN:VCARD", "VERSION:2.1", property, "END:VCARD" }));
    QCOMPARE(result.entries.size(), 1);
    QCOMPARE(result.entries.first().card.name, name);
}

void TestVCard::phonesAndAddressesBeyondTheFirstGoToTheNote()
{
    const VCard::ReadResult result
        = VCard::read(lines({ "BEGIN:VCARD", "VERSION:3.0", "FN:多号", "NOTE:原有备注", "TEL;TYPE=HOME:111",
                              "TEL;TYPE=CELL:222", "TEL;TYPE=FAX:333", "TEL;TYPE=WORK:444", "TEL;TYPE=CELL:555",
                              "TEL;TYPE=CELL:222", "EMAIL:a@x", "EMAIL:b@x", "END:VCARD" }));
    QCOMPARE(result.entries.size(), 1);
    const Card& c = result.entries.first().card;
    QCOMPARE(c.mobile, u"222"_s);
    QCOMPARE(c.tel, u"444"_s); // a work number before any other
    QCOMPARE(c.email, u"a@x"_s);
    QCOMPARE(c.memo, u"原有备注\r\n电话：111\r\n电话：333\r\n电话：555\r\n电子邮箱：b@x"_s);
}

void TestVCard::cutsAndSkips()
{
    const QByteArray bytes = lines({ "BEGIN:VCARD", "VERSION:3.0", "FN:欧阳娜娜娜", "TEL;TYPE=CELL:1380013800012345",
                                     "NOTE:" + QByteArray(120, 'n'), "END:VCARD",
                                     // No name of any kind.
                                     "BEGIN:VCARD", "VERSION:3.0", "EMAIL:nobody@example.com", "N:;;;;", "END:VCARD",
                                     // A card the next one interrupts.
                                     "BEGIN:VCARD", "VERSION:3.0", "FN:半张",
                                     // A nickname stands in for the name.
                                     "BEGIN:VCARD", "VERSION:3.0", "FN: ", "NICKNAME:Lucky,L", "END:VCARD",
                                     // The file ends inside the last one.
                                     "BEGIN:VCARD", "VERSION:3.0", "FN:截断" });
    const VCard::ReadResult result = VCard::read(bytes);
    QVERIFY(result.isVCard);
    QCOMPARE(result.skipped[int(VCard::Skip::Incomplete)], 2);
    QCOMPARE(result.skipped[int(VCard::Skip::NoName)], 1);
    QCOMPARE(result.entries.size(), 2);
    const VCard::Entry& cut = result.entries.at(0);
    QCOMPARE(cut.card.name, u"欧阳娜娜"_s); // 8 bytes, at a character boundary
    QCOMPARE(cut.card.mobile, u"138001380001234"_s);
    QCOMPARE(cut.card.memo, QString(100, u'n'));
    QCOMPARE(cut.fieldsCut, 3);
    QCOMPARE(result.entries.at(1).card.name, u"Lucky"_s);
    QCOMPARE(result.entries.at(1).card.netname, u"Lucky"_s);

    TestEnvironment env;
    const VCard::ImportResult imported = VCard::importFile(writeFile(env, bytes));
    QCOMPARE(imported.imported, 2);
    QCOMPARE(imported.fieldsCut, 3);
    QCOMPARE(
        VCard::summary(imported),
        u"共导入 2 张名片。\r\r有 3 项内容超过字段长度，已截短。\r\r跳过 3 条：2 条不完整（缺少 END:VCARD），1 条没有姓名。"_s);
}

void TestVCard::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isVCard");
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("text") << QByteArray("姓名,电话\r\n张三,138\r\n") << false;
    QTest::newRow("calendar") << lines(
        { "BEGIN:VCALENDAR", "BEGIN:VEVENT", "SUMMARY:x", "END:VEVENT", "END:VCALENDAR" })
                              << false;
    QTest::newRow("binary") << QByteArray("\x00\x01\xFF\xFE:BEGIN\x00VCARD", 16) << false;
    QTest::newRow("a card backup") << QByteArray("SQLite format 3\0\x10\x00", 19) << false;
    QTest::newRow("only a beginning") << QByteArray("BEGIN:VCARD") << true;
    QTest::newRow("end without beginning") << lines({ "FN:张三", "END:VCARD" }) << false;
}

void TestVCard::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isVCard);
    TestEnvironment env;
    addCard(card({ { "classify", u"朋友"_s }, { "name", u"张三"_s } }));
    const VCard::ImportResult result = VCard::importFile(writeFile(env, bytes));
    QCOMPARE(result.isVCard, isVCard);
    QCOMPARE(result.imported, 0);
    QCOMPARE(cardNames(), QStringList{ u"张三"_s });
    QVERIFY(categoryNames().isEmpty());
    if (!isVCard)
        QCOMPARE(VCard::summary(result), u"所选文件不是vCard名片文件，没有导入任何名片。"_s);

    QVERIFY_THROWS_EXCEPTION(AppError, VCard::importFile(env.path(u"bak/missing.vcf"_s)));
}

void TestVCard::importAddsOnlyWhatIsNew()
{
    TestEnvironment env;
    addCategory(u"朋友"_s);
    const Card existing = card({ { "classify", u"朋友"_s }, { "name", u"张三"_s }, { "mobile", u"138"_s } });
    addCard(existing);
    Card sameName = existing;
    sameName.mobile = u"139"_s;
    const Card fresh = card({ { "classify", u"新分类"_s }, { "name", u"李四"_s } });
    const QByteArray bytes = VCard::write({ existing, sameName, fresh, fresh });

    const VCard::ImportResult result = VCard::importFile(writeFile(env, bytes));
    QCOMPARE(result.imported, 2);
    QCOMPARE(result.skipped[int(VCard::Skip::Duplicate)], 2);
    QCOMPARE(describe(tableCards()), describe(QList<Card>{ existing, sameName, fresh }));
    QCOMPARE(categoryNames(), (QStringList{ u"朋友"_s, u"新分类"_s }));
    QCOMPARE(VCard::summary(result), u"共导入 2 张名片。\r\r跳过 2 条：2 条与已有名片完全相同。"_s);

    // The same file again adds nothing at all.
    const VCard::ImportResult again = VCard::importFile(writeFile(env, bytes));
    QCOMPARE(again.imported, 0);
    QCOMPARE(again.skipped[int(VCard::Skip::Duplicate)], 4);
    QCOMPARE(tableCards().size(), 3);
    QCOMPARE(categoryNames().size(), 2);
}

void TestVCard::failedImportAddsNothing_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("a card fails")
        << u"CREATE TRIGGER boom BEFORE INSERT ON card WHEN new.name='坏' BEGIN SELECT RAISE(ABORT,'boom'); END"_s;
    QTest::newRow("a category fails")
        << u"CREATE TRIGGER boom BEFORE INSERT ON classify WHEN new.classify='坏分类' BEGIN SELECT RAISE(ABORT,'boom'); END"_s;
}

void TestVCard::failedImportAddsNothing()
{
    QFETCH(QString, trigger);
    TestEnvironment env;
    addCategory(u"朋友"_s);
    addCard(card({ { "classify", u"朋友"_s }, { "name", u"张三"_s } }));
    const QString table = trigger.contains(u"ON card"_s) ? u"data/card.db"_s : u"data/classify.db"_s;
    {
        QSqlQuery q(TableFiles::connection(TableFiles::resolve(env.path(table))));
        QVERIFY(q.exec(trigger));
    }
    const QByteArray bytes = VCard::write({ card({ { "classify", u"新分类"_s }, { "name", u"李四"_s } }),
                                            card({ { "classify", u"坏分类"_s }, { "name", u"王五"_s } }),
                                            card({ { "classify", u"朋友"_s }, { "name", u"坏"_s } }) });
    QVERIFY_THROWS_EXCEPTION(AppError, VCard::importFile(writeFile(env, bytes)));
    QCOMPARE(cardNames(), QStringList{ u"张三"_s });
    QCOMPARE(categoryNames(), QStringList{ u"朋友"_s });

    // The tables are not left locked or inside a transaction: the next change goes through.
    addCard(card({ { "classify", u"朋友"_s }, { "name", u"赵六"_s } }));
    addCategory(u"同事"_s);
    QCOMPARE(cardNames().size(), 2);
    QCOMPARE(categoryNames().size(), 2);
}

void TestVCard::survivesRandomBytesAndTruncation()
{
    QByteArray sample;
    for (const char* name : { "google.vcf", "apple.vcf", "android.vcf", "outlook.vcf", "thunderbird.vcf" })
        sample += fixture(QString::fromLatin1(name));
    const QList<Card> whole = cardsOf(VCard::read(sample));
    QCOMPARE(whole.size(), 7);

    // Cut anywhere, the file gives exactly the cards that ended before the cut, each one whole.
    for (qsizetype length = 0; length <= sample.size(); ++length) {
        const QByteArray part = sample.left(length);
        const int ended = int(part.count("END:VCARD"));
        const QList<Card> cards = cardsOf(VCard::read(part));
        if (cards.size() != ended || describe(cards) != describe(whole.mid(0, ended)))
            QFAIL(qPrintable(u"cut at %1: %2 cards, %3 ended"_s.arg(length).arg(cards.size()).arg(ended)));
    }

    // Random bytes, and the sample with random bytes changed, never crash the reader, and an import adds exactly
    // the cards it reports, or nothing.
    QRandomGenerator random(19);
    TestEnvironment env;
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        if (round % 3 == 0) {
            bytes.resize(random.bounded(2000));
            for (char& c : bytes)
                c = char(random.bounded(256));
            if (round % 2 == 0)
                bytes.prepend("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        } else {
            bytes = sample;
            const int changes = 1 + random.bounded(20);
            for (int i = 0; i < changes; ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            bytes.truncate(random.bounded(int(bytes.size()) + 1));
        }
        const VCard::ReadResult read = VCard::read(bytes);
        for (const VCard::Entry& e : read.entries) {
            QVERIFY(!e.card.name.trimmed().isEmpty());
            for (const QString& column : Card::columns()) {
                const int limit = Card::byteLimit(column);
                QVERIFY(limit == 0 || Gbk::byteLength(e.card.value(column)) <= limit);
            }
        }
        if (round % 10 != 0)
            continue;
        const int before = int(tableCards().size());
        const VCard::ImportResult result = VCard::importFile(writeFile(env, bytes));
        QCOMPARE(int(tableCards().size()), before + result.imported);
    }
}

QTEST_GUILESS_MAIN(TestVCard)
#include "TestVCard.moc"
