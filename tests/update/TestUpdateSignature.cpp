// Signatures of the update information as a publisher makes them: with the standard minisign tool and the
// project's own scripts/make-update-info, checked by the program's verifier. Keys are made afresh for each run.

#include "SignedUpdates.h"
#include "update/TAppUpdater.h"
#include "update/UpdateSignature.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/// Runs a program to its end; its exit code, or -1 when it did not run.
int run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitCode();
}

} // namespace

class TestUpdateSignature : public QObject
{
    Q_OBJECT

private slots:
    void publishedWithMinisign_data()
    {
        QTest::addColumn<QStringList>("signOptions");
        QTest::newRow("hashed, minisign's default") << QStringList();
        QTest::newRow("legacy") << QStringList{ QStringLiteral("-l") };
    }

    void publishedWithMinisign()
    {
        QFETCH(QStringList, signOptions);
        const QString minisign = QStringLiteral(MINISIGN_PATH);
        if (minisign.isEmpty())
            QSKIP("minisign is not installed (scripts/install-deps.sh installs it)");

        QTemporaryDir dir;
        const QString release = dir.filePath(QStringLiteral("release"));
        QVERIFY(QDir().mkpath(release));
        QVERIFY(writeFile(release + QStringLiteral("/vantrel"), QByteArray(70000, 'p')));
        QVERIFY(writeFile(release + QStringLiteral("/content.dat"), "phrases"));
        const QString pub = dir.filePath(QStringLiteral("minisign.pub"));
        const QString key = dir.filePath(QStringLiteral("minisign.key"));
        QCOMPARE(
            run(minisign,
                { QStringLiteral("-G"), QStringLiteral("-W"), QStringLiteral("-p"), pub, QStringLiteral("-s"), key }),
            0);

        const QString info = dir.filePath(QStringLiteral("helper.inf"));
        QCOMPARE(run(QStringLiteral(VANTREL_SOURCE_DIR "/scripts/make-update-info"),
                     { QStringLiteral("--version"), QStringLiteral("2.4"), QStringLiteral("--first"),
                       QStringLiteral("vantrel"), QStringLiteral("--message"), QStringLiteral("New skins."),
                       QStringLiteral("-o"), info, QStringLiteral("https://updates.example.org/files"), release }),
                 0);
        QCOMPARE(run(minisign,
                     QStringList{ QStringLiteral("-S"), QStringLiteral("-s"), key, QStringLiteral("-m"), info }
                         + signOptions),
                 0);

        const QByteArray text = readFile(info);
        const QByteArray signature = readFile(info + QStringLiteral(".minisig"));
        // The whole .pub file and its key line alone are both accepted.
        const QString pubFile = QString::fromLatin1(readFile(pub));
        for (const QString& keyText : { pubFile, pubFile.split(QLatin1Char('\n')).value(1) }) {
            const auto publicKey = UpdateSignature::ParsePublicKey(keyText);
            QVERIFY(publicKey);
            QCOMPARE(UpdateSignature::Verify(text, signature, *publicKey), UpdateSignature::Result::Valid);
        }
        // The trusted comment (signed with the file) names the file.
        const QByteArrayList lines = signature.split('\n');
        QVERIFY(std::any_of(lines.cbegin(), lines.cend(), [](const QByteArray& line) {
            return line.startsWith("trusted comment: ") && line.contains("helper.inf");
        }));

        const QList<TDownloadEntry> entries = TAppUpdater::ReadDownloadEntries(text);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).URL, QStringLiteral("https://updates.example.org/files/vantrel"));
        QCOMPARE(entries.at(0).Size, 70000);
        QCOMPARE(entries.at(0).Sha256,
                 QCryptographicHash::hash(QByteArray(70000, 'p'), QCryptographicHash::Sha256).toHex());
        QCOMPARE(entries.at(1).URL, QStringLiteral("https://updates.example.org/files/content.dat"));
        QCOMPARE(entries.at(1).Sha256, QCryptographicHash::hash("phrases", QCryptographicHash::Sha256).toHex());
        QCOMPARE(TAppUpdater::GetInfoValue(text, QStringLiteral("message"), true), QStringLiteral("New skins."));

        // One byte changed anywhere in the information file breaks the signature.
        QByteArray altered = text;
        altered[altered.indexOf("2.4") + 2] = '5';
        QCOMPARE(UpdateSignature::Verify(altered, signature, *UpdateSignature::ParsePublicKey(pubFile)),
                 UpdateSignature::Result::Invalid);
    }

    void malformedInput_data()
    {
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<int>("result");
        const TestSigningKey key;
        const QByteArray good = key.sign("data");
        const QList<QByteArray> lines = good.split('\n');
        using R = UpdateSignature::Result;
        QTest::newRow("valid") << good << int(R::Valid);
        QTest::newRow("CR LF line ends") << QByteArray(good).replace("\n", "\r\n") << int(R::Valid);
        QTest::newRow("empty") << QByteArray() << int(R::Malformed);
        QTest::newRow("HTML error page") << QByteArray("<html><body>Not found</body></html>") << int(R::Malformed);
        QTest::newRow("comment line missing") << lines.mid(1).join('\n') << int(R::Malformed);
        QTest::newRow("global signature missing") << lines.mid(0, 3).join('\n') << int(R::Malformed);
        QTest::newRow("a fifth line") << good + "extra\n" << int(R::Malformed);
        QTest::newRow("signature line not base64")
            << QByteArray(good).replace(lines.at(1), "RURnot*base64") << int(R::Malformed);
        QTest::newRow("signature line cut short")
            << QByteArray(good).replace(lines.at(1), lines.at(1).left(40)) << int(R::Malformed);
        QByteArray unknownAlgorithm = QByteArray::fromBase64(lines.at(1));
        unknownAlgorithm[1] = 'x';
        QTest::newRow("unknown algorithm")
            << QByteArray(good).replace(lines.at(1), unknownAlgorithm.toBase64()) << int(R::Malformed);
        QTest::newRow("signature of other data") << key.sign("other data") << int(R::Invalid);
        QByteArray flipped = QByteArray::fromBase64(lines.at(3));
        flipped[0] = char(flipped[0] ^ 1);
        QTest::newRow("global signature altered")
            << QByteArray(good).replace(lines.at(3), flipped.toBase64()) << int(R::Invalid);
        QTest::newRow("another key") << TestSigningKey().sign("data") << int(R::WrongKey);
        m_key = key.publicKey();
    }

    void malformedInput()
    {
        QFETCH(QByteArray, signature);
        QFETCH(int, result);
        const auto key = UpdateSignature::ParsePublicKey(m_key);
        QVERIFY(key);
        QCOMPARE(int(UpdateSignature::Verify("data", signature, *key)), result);
    }

    void publicKeyForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        const QString key = TestSigningKey().publicKey();
        QTest::newRow("key line") << key << true;
        QTest::newRow("whole .pub file") << QStringLiteral("untrusted comment: minisign public key 1\n") + key
                + QLatin1Char('\n') << true;
        QTest::newRow("blanks around") << QStringLiteral("  ") + key + QStringLiteral(" \n") << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("cut short") << key.left(40) << false;
        QTest::newRow("not Ed25519") << QString::fromLatin1(
            ("Xx" + QByteArray::fromBase64(key.toLatin1()).mid(2)).toBase64())
                                     << false;
        QTest::newRow("secret key file line") << QStringLiteral("RWRTY0Iy") << false;
    }

    void publicKeyForms()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(UpdateSignature::ParsePublicKey(text).has_value(), valid);
    }

private:
    QString m_key;
};

QTEST_GUILESS_MAIN(TestUpdateSignature)
#include "TestUpdateSignature.moc"
