// The one sender: what each link is handed for a command and for raw data, which console block follows,
// and what the caller learns when a link fails (nothing is logged then). The links are stand-ins that record
// their bytes.

#include "links/LinkSender.h"
#include "support/Frames.h"

#include <QtTest>

namespace {
const QString kTarget = QStringLiteral("12345678901");
const QString kZone = QStringLiteral("0001");
const QString kLocal = QStringLiteral("98765432109");

QString logged(const QString &label, const QByteArray &bytes)
{
    return label + QString::fromLatin1(bytes.toHex(' '));
}

struct Recorder {
    bool serialWorks = true;
    bool tcpWorks = true;
    QList<QByteArray> serial;
    QList<QByteArray> tcp;
    QStringList log; // label + hex of the bytes
    LinkSender sender{[this](const QByteArray &b) { return take(serialWorks, serial, b); },
                      [this](const QByteArray &b) { return take(tcpWorks, tcp, b); },
                      [this](const QString &label, const QByteArray &b) { log.append(logged(label, b)); }};

    static bool take(bool works, QList<QByteArray> &wire, const QByteArray &bytes)
    {
        if (works)
            wire.append(bytes);
        return works;
    }
};
} // namespace

Q_DECLARE_METATYPE(SendPayload)
Q_DECLARE_METATYPE(SendResult)

class LinkSenderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wrapsForTheLink_data();
    void wrapsForTheLink();
    void failedLinkLogsNothing_data();
    void failedLinkLogsNothing();
};

void LinkSenderTest::wrapsForTheLink_data()
{
    QTest::addColumn<int>("linkType");
    QTest::addColumn<SendPayload>("payload");
    QTest::addColumn<QByteArray>("serialBytes");
    QTest::addColumn<QByteArray>("tcpBytes");
    QTest::addColumn<QString>("label");

    const QByteArray command("AT+WIFIMODE=?\r\n");
    const QByteArray data("a\0b", 3);
    QTest::newRow("serial, command") << 0 << SendPayload::Command << command << QByteArray() << "COM Send:";
    QTest::newRow("serial, data") << 0 << SendPayload::Data << data << QByteArray() << "COM Send:";
    QTest::newRow("LAN, command") << 1 << SendPayload::Command << QByteArray()
                                  << QByteArray("\xA8\x81\x01") + command << "TCP Send:";
    QTest::newRow("LAN, data") << 1 << SendPayload::Data << QByteArray() << data << "TCP Send:";
    QTest::newRow("Internet, command")
        << 2 << SendPayload::Command << QByteArray()
        << Frames::relay98765432109To12345678901() + Frames::module12345678901Zone0001() + command
        << "TCP Send:";
    QTest::newRow("Internet, data") << 2 << SendPayload::Data << QByteArray()
                                    << Frames::relay98765432109To12345678901() + data << "TCP Send:";
}

void LinkSenderTest::wrapsForTheLink()
{
    QFETCH(int, linkType);
    QFETCH(SendPayload, payload);
    QFETCH(QByteArray, serialBytes);
    QFETCH(QByteArray, tcpBytes);
    QFETCH(QString, label);
    Recorder links;
    const QByteArray bytes =
        payload == SendPayload::Command ? QByteArray("AT+WIFIMODE=?\r\n") : QByteArray("a\0b", 3);
    const LinkRoute route{linkType, kTarget, kZone, true, kLocal};
    QCOMPARE(links.sender.send(route, payload, bytes), SendResult::Sent);
    QCOMPARE(links.serial, serialBytes.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{serialBytes});
    QCOMPARE(links.tcp, tcpBytes.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{tcpBytes});
    QCOMPARE(links.log, QStringList{logged(label, serialBytes + tcpBytes)});
}

void LinkSenderTest::failedLinkLogsNothing_data()
{
    QTest::addColumn<int>("linkType");
    QTest::addColumn<SendResult>("result");
    QTest::newRow("serial write refused") << 0 << SendResult::SerialFailed;
    QTest::newRow("LAN send failed") << 1 << SendResult::TcpFailed;
    QTest::newRow("Internet send failed") << 2 << SendResult::TcpFailed;
    QTest::newRow("no link: -1") << -1 << SendResult::NoLink;
    QTest::newRow("no link: 3") << 3 << SendResult::NoLink;
}

void LinkSenderTest::failedLinkLogsNothing()
{
    QFETCH(int, linkType);
    QFETCH(SendResult, result);
    Recorder links;
    links.serialWorks = false;
    links.tcpWorks = false;
    QCOMPARE(links.sender.send({linkType, kTarget, kZone, true, kLocal}, SendPayload::Command, "AT\r\n"),
             result);
    QVERIFY(links.serial.isEmpty());
    QVERIFY(links.tcp.isEmpty());
    QVERIFY(links.log.isEmpty());

    // The other link working changes nothing: each send goes out on its own link only.
    links.serialWorks = linkType != 0;
    links.tcpWorks = linkType == 0;
    QCOMPARE(links.sender.send({linkType, kTarget, kZone, true, kLocal}, SendPayload::Data, "x"), result);
    QVERIFY(links.log.isEmpty());
}

QTEST_GUILESS_MAIN(LinkSenderTest)
#include "test_linksender.moc"
