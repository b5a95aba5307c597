#include "text/TextLines.h"

#include <QtTest>

class TestTextLines : public QObject
{
    Q_OBJECT
private slots:
    // Every line break the program's texts carry becomes the one Qt shows: notes, messages, today's plan.
    void lineFeeds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("lone CR") << QStringLiteral("a\rb\r") << QStringLiteral("a\nb\n");
        QTest::newRow("LF stays") << QStringLiteral("a\nb") << QStringLiteral("a\nb");
        QTest::newRow("mixed") << QStringLiteral("a\r\nb\rc") << QStringLiteral("a\nb\nc");
        QTest::newRow("CR before CR LF is two breaks") << QStringLiteral("a\r\r\nb") << QStringLiteral("a\n\nb");
        QTest::newRow("LF CR is two breaks") << QStringLiteral("a\n\rb") << QStringLiteral("a\n\nb");
        QTest::newRow("empty") << QString() << QString();
    }
    void lineFeeds()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(withLineFeeds(text), shown);
    }
};

QTEST_GUILESS_MAIN(TestTextLines)
#include "TestTextLines.moc"
