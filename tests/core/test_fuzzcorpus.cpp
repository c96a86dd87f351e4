// Replays the fuzz corpus through every fuzz target in this build: the seeds (real replies, frames,
// settings files and profiles) and each crash input the fuzzer once found, kept in fuzz/regressions/. So the
// normal and the sanitizer build check them too, not only the fuzz build with clang. Below the replay, each
// fault the fuzzer found is also pinned down as a plain case.

#define QX_FUZZ_REPLAY
#include "fuzz/fuzz_conversions.cpp"
#include "fuzz/fuzz_frames.cpp"
#include "fuzz/fuzz_ini.cpp"
#include "fuzz/fuzz_parser.cpp"
#include "fuzz/fuzz_profiles.cpp"
#include "fuzz/fuzz_remote_decoders.cpp"
#include "fuzz/fuzz_reply_text.cpp"
#include "protocol/ReplyDecoders.h"
#include "protocol/ReplyInterpreter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

class TestFuzzCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replay_data();
    void replay();
    void numberWithNulInside_data();
    void numberWithNulInside();
};

void TestFuzzCorpus::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    const QString source = qEnvironmentVariable("QX_SOURCE_DIR");
    if (source.isEmpty())
        QFAIL("QX_SOURCE_DIR is not set (ctest sets it): the corpus cannot be found");
    int rows = 0;
    for (const qxfuzz::Target &target : qxfuzz::targets()) {
        const QString name = QString::fromLatin1(target.name);
        for (const char *folder : {"corpus", "regressions"}) {
            QDirIterator files(QStringLiteral("%1/fuzz/%2/%3").arg(source, QLatin1String(folder), name),
                               QDir::Files);
            while (files.hasNext()) {
                const QString path = files.next();
                QTest::addRow("%s/%s/%s", folder, target.name, qPrintable(files.fileName())) << name << path;
                ++rows;
            }
        }
    }
    QVERIFY2(rows > 0, "no corpus files under QX_SOURCE_DIR/fuzz");
}

void TestFuzzCorpus::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    for (const qxfuzz::Target &t : qxfuzz::targets()) {
        if (QLatin1String(t.name) != target)
            continue;
        try {
            t.entry(reinterpret_cast<const uint8_t *>(input.constData()), static_cast<size_t>(input.size()));
        } catch (const qxfuzz::CheckFailed &failure) {
            QFAIL(failure.what.c_str());
        }
        return;
    }
    QFAIL("no such target");
}

// A reply value with a 00 byte inside used to convert to the digits before it ("3<00>9" gave 3, so a
// work-mode reply selected "AP+Station"); the whole text must be the number.
void TestFuzzCorpus::numberWithNulInside_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("digit, 00, digit") << QByteArray("3\x00"
                                                    "9\r\n",
                                                    5);
    QTest::newRow("digit, 00, letter") << QByteArray("2\x00x", 3);
    QTest::newRow("sign, digit, 00, blank, digit") << QByteArray("-5\x00 7", 5);
}

void TestFuzzCorpus::numberWithNulInside()
{
    QFETCH(QByteArray, reply);
    QVERIFY_THROWS_EXCEPTION(ConversionError, ReplyInt(TrimmedForm(reply)));

    // The work-mode answer on the serial road: no selection changes, one error box names the value.
    const ReplyEffects effects =
        interpretReply(ReplyContext{118, QString(), false, ReplyRoad::Serial}, reply);
    QVERIFY(effects.fields.isEmpty());
    QCOMPARE(effects.boxes.size(), 1);
    QVERIFY(effects.boxes.first().text.endsWith(QLatin1String("' is not a valid integer value")));
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "test_fuzzcorpus.moc"
