// Commands as the module reads them, built from plain values: the AT forms, the IO command, and what
// each value rule makes of a row's fields.

#include "protocol/CommandBuilder.h"
#include "protocol/FieldCatalogue.h"
#include "protocol/IoCommand.h"
#include "protocol/ParameterCatalogue.h"

#include <QtTest>

Q_DECLARE_METATYPE(RowValues)

class CommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void atForms_data();
    void atForms();
    void ioCommand_data();
    void ioCommand();
    void rowValues_data();
    void rowValues();
    void checks();
};

void CommandsTest::atForms_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("quote");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("+++ bare") << "+++"
                              << ""
                              << "" << false << QByteArray("+++");
    QTest::newRow("AT alone") << "AT"
                              << ""
                              << "" << false << QByteArray("AT\r\n");
    QTest::newRow("action form") << "AT"
                                 << "RESTORE"
                                 << "" << false << QByteArray("AT+RESTORE\r\n");
    QTest::newRow("query") << "AT"
                           << "WIFIMODE"
                           << "?" << false << QByteArray("AT+WIFIMODE=?\r\n");
    QTest::newRow("quoted GBK value") << "AT"
                                      << "NAME"
                                      << "中文" << true << QByteArray("AT+NAME=\"\xD6\xD0\xCE\xC4\"\r\n");
    QTest::newRow("mode command") << "AT"
                                  << "++"
                                  << "" << false << QByteArray("AT+++\r\n");
}

void CommandsTest::atForms()
{
    QFETCH(QString, prefix);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, quote);
    QFETCH(QByteArray, wire);
    const BuiltCommand command = BuildCommand(118, prefix, name, value, quote);
    QCOMPARE(command.bytes, wire);
    QCOMPARE(command.typeCode, 118);
}

void CommandsTest::ioCommand_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("pull");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("row");
    QTest::addColumn<char>("operation");
    QTest::addColumn<QByteArray>("command");
    QTest::newRow("write output high") << "Output" << 0 << 1 << 3 << 'W' << QByteArray("AT+IOCTR=OUW31OUW31");
    QTest::newRow("write floating low") << "Input" << 1 << 0 << 8 << 'W' << QByteArray("AT+IOCTR=IFW80IFW80");
    QTest::newRow("read ignores the level")
        << "Output" << 0 << -1 << 2 << 'R' << QByteArray("AT+IOCTR=OUR2NOUR2N");
    QTest::newRow("no mode: refused for reads") << "" << 0 << 0 << 1 << 'R' << QByteArray();
    QTest::newRow("write without a level") << "Output" << 0 << -1 << 1 << 'W' << QByteArray();
    QTest::newRow("write without a pull") << "Output" << -1 << 1 << 1 << 'W' << QByteArray();
}

void CommandsTest::ioCommand()
{
    QFETCH(QString, mode);
    QFETCH(int, pull);
    QFETCH(int, level);
    QFETCH(int, row);
    QFETCH(char, operation);
    QFETCH(QByteArray, command);
    QCOMPARE(BuildIoCommand({mode, pull, level}, row, operation), command);
}

void CommandsTest::rowValues_data()
{
    QTest::addColumn<int>("setCode");
    QTest::addColumn<RowValues>("fields");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("quotedCount");
    QTest::newRow("work mode: position plus one") << 18 << RowValues{{QStringLiteral("AP"), 1}} << "2" << 0;
    QTest::newRow("AP info") << 20
                             << RowValues{{QStringLiteral("my,net"), -1},
                                          {QStringLiteral("pw"), -1},
                                          {QStringLiteral("11"), 10},
                                          {QStringLiteral("WPA2"), 3}}
                             << "\"my,net\",\"pw\",11,3,4" << 2;
    QTest::newRow("AP addresses") << 23
                                  << RowValues{{QStringLiteral("10.0.0.1"), -1},
                                               {QStringLiteral("255.0.0.0"), -1},
                                               {QStringLiteral("10.0.0.254"), -1}}
                                  << "\"10.0.0.1\",\"255.0.0.0\",\"10.0.0.254\"" << 3;
}

void CommandsTest::rowValues()
{
    QFETCH(int, setCode);
    QFETCH(RowValues, fields);
    QFETCH(QString, value);
    QFETCH(int, quotedCount);
    const ParameterRow *row = FindParameterByCode(setCode);
    QVERIFY(row);
    QCOMPARE(row->value(fields), value);
    QCOMPARE(ValueRules::quotedFields(row->value, fields).size(), quotedCount);
}

void CommandsTest::checks()
{
    QVERIFY(!CheckRules::notBlankTrimmed.passes({QStringLiteral("   "), -1}));
    QVERIFY(CheckRules::notBlank.passes({QStringLiteral("   "), -1}));
    QVERIFY(!CheckRules::selected.passes({QString(), -1}));
    QVERIFY(CheckRules::elevenChars.passes({QStringLiteral(" 12345678901 "), -1}));
    QVERIFY(!CheckRules::elevenChars.passes({QStringLiteral("123456789012"), -1}));
    QVERIFY(!CheckRules::isSingleLine(QStringLiteral("a\nb")));
    QVERIFY(!CheckRules::isQuoteFree({{QStringLiteral("a\"b"), -1}}));
    // Every row's checks name a field of its own row, and every field of a row is described once.
    for (const ParameterRow &row : ParameterCatalogue()) {
        for (const FieldCheck &check : row.checks)
            QVERIFY2(std::find(row.fields.cbegin(), row.fields.cend(), check.field) != row.fields.cend(),
                     qPrintable(row.atName));
        for (const Field field : row.fields) {
            const auto described =
                std::count_if(FieldDescriptions().cbegin(), FieldDescriptions().cend(),
                              [field](const FieldDescription &d) { return d.field == field; });
            QVERIFY2(described == 1, qPrintable(row.atName));
        }
    }
}

QTEST_GUILESS_MAIN(CommandsTest)
#include "test_commands.moc"
