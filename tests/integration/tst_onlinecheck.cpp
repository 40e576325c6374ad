#include "integration/informationticker.h"
#include "integration/onlinecheck.h"
#include "model/metrics.h"
#include "platform/system/hostresolver.h"
#include "platform/system/networkprobe.h"
#include "platform/system/systemnetworkprobe.h"
#include "platform/system/tcpstatistics.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>
#include <thread>

using namespace Qt::StringLiterals;
using quillet::integration::InformationTicker;
using quillet::integration::OnlineCheck;
using quillet::system::HostResolver;
using quillet::system::TcpStatistics;

namespace {

class FakeProbe : public quillet::system::NetworkProbe
{
public:
    std::optional<qint64> established;
    QStringList resolving;
    QStringList lookedUp;
    QList<int> timeouts;
    int statisticsReads = 0;

    std::optional<qint64> establishedTcpConnections() override
    {
        ++statisticsReads;
        return established;
    }
    QString lookupHost(const QString &name, int timeoutMs) override
    {
        lookedUp << name;
        timeouts << timeoutMs;
        return resolving.contains(name) ? u"192.0.2.1"_s : QString();
    }
};

const QString First = QString::fromLatin1(OnlineCheck::FirstProbeHost);
const QString Second = QString::fromLatin1(OnlineCheck::SecondProbeHost);

const QByteArray KernelSample
    = "Ip: Forwarding DefaultTTL InReceives\n"
      "Ip: 1 64 12345\n"
      "Icmp: InMsgs InErrors\n"
      "Icmp: 3 0\n"
      "Tcp: RtoAlgorithm RtoMin RtoMax MaxConn ActiveOpens PassiveOpens AttemptFails "
      "EstabResets CurrEstab InSegs OutSegs RetransSegs InErrs OutRsts InCsumErrors\n"
      "Tcp: 1 200 120000 -1 220 12 4 3 7 9000 8000 12 0 40 0\n"
      "Udp: InDatagrams NoPorts\n"
      "Udp: 10 2\n";

} // namespace

class TestOnlineCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isOnline_data();
    void isOnline();
    void tickerChecksOnTenthTick();
    void tickerResetMovesCheck();
    void tickerOfflineNeverLooksUp();
    void parseEstablished_data();
    void parseEstablished();
    void statisticsFile();
    void resolverBoundsTheWait();
    void resolverAnswers();
    void informationPage();
};

void TestOnlineCheck::isOnline_data()
{
    QTest::addColumn<std::optional<qint64>>("established");
    QTest::addColumn<QStringList>("resolving");
    QTest::addColumn<bool>("online");
    QTest::addColumn<QStringList>("lookups");

    const QStringList both { First, Second };
    QTest::newRow("statistics fail") << std::optional<qint64>() << both << false << QStringList();
    QTest::newRow("no connection") << std::optional<qint64>(0) << both << false << QStringList();
    QTest::newRow("negative") << std::optional<qint64>(-5) << both << false << QStringList();
    QTest::newRow("2^31 is negative as 32 bits")
        << std::optional<qint64>(0x80000000LL) << both << false << QStringList();
    QTest::newRow("2^32 is zero as 32 bits")
        << std::optional<qint64>(0x100000000LL) << both << false << QStringList();
    QTest::newRow("first resolves") << std::optional<qint64>(3) << both << true << QStringList { First };
    QTest::newRow("only second resolves")
        << std::optional<qint64>(1) << QStringList { Second } << true << both;
    QTest::newRow("none resolves") << std::optional<qint64>(1) << QStringList() << false << both;
}

void TestOnlineCheck::isOnline()
{
    QFETCH(std::optional<qint64>, established);
    QFETCH(QStringList, resolving);
    QFETCH(bool, online);
    QFETCH(QStringList, lookups);

    FakeProbe probe;
    probe.established = established;
    probe.resolving = resolving;
    QCOMPARE(OnlineCheck::isOnline(probe), online);
    QCOMPARE(probe.statisticsReads, 1);
    QCOMPARE(probe.lookedUp, lookups);
    for (int timeout : probe.timeouts)
        QCOMPARE(timeout, OnlineCheck::LookupTimeoutMs);
}

void TestOnlineCheck::tickerChecksOnTenthTick()
{
    FakeProbe probe;
    probe.established = 4;
    probe.resolving = { First };
    InformationTicker ticker;
    for (int tick = 1; tick < InformationTicker::TicksPerCheck; ++tick) {
        QCOMPARE(ticker.tick(probe), InformationTicker::Action::None);
        QCOMPARE(ticker.tickCount(), tick);
    }
    QCOMPARE(probe.statisticsReads, 0);
    QCOMPARE(ticker.tick(probe), InformationTicker::Action::ShowInformationPage);
    QCOMPARE(probe.statisticsReads, 1);
    QCOMPARE(ticker.tickCount(), 0);
    QCOMPARE(InformationTicker::TicksPerCheck * quillet::model::Metrics::kInfoTimerIntervalMs, 60000);
}

void TestOnlineCheck::tickerResetMovesCheck()
{
    FakeProbe probe;
    probe.established = 4;
    probe.resolving = { Second };
    InformationTicker ticker;
    for (int tick = 0; tick < 5; ++tick)
        QCOMPARE(ticker.tick(probe), InformationTicker::Action::None);
    ticker.reset(); // Help pressed 30 s after start
    for (int tick = 1; tick < InformationTicker::TicksPerCheck; ++tick)
        QCOMPARE(ticker.tick(probe), InformationTicker::Action::None);
    QCOMPARE(probe.statisticsReads, 0);
    QCOMPARE(ticker.tick(probe), InformationTicker::Action::ShowInformationPage);
}

void TestOnlineCheck::tickerOfflineNeverLooksUp()
{
    FakeProbe probe;
    probe.established = 0;
    probe.resolving = { First, Second };
    InformationTicker ticker;
    for (int tick = 0; tick < 3 * InformationTicker::TicksPerCheck; ++tick)
        QCOMPARE(ticker.tick(probe), InformationTicker::Action::None);
    QCOMPARE(probe.statisticsReads, 3);
    QVERIFY(probe.lookedUp.isEmpty());

    probe.established = std::nullopt;
    for (int tick = 0; tick < InformationTicker::TicksPerCheck; ++tick)
        QCOMPARE(ticker.tick(probe), InformationTicker::Action::None);
    QCOMPARE(probe.statisticsReads, 4);
    QVERIFY(probe.lookedUp.isEmpty());
}

void TestOnlineCheck::parseEstablished_data()
{
    QTest::addColumn<QByteArray>("snmp");
    QTest::addColumn<std::optional<qint64>>("expected");
    QTest::newRow("kernel sample") << KernelSample << std::optional<qint64>(7);
    QTest::newRow("empty") << QByteArray() << std::optional<qint64>();
    QTest::newRow("no tcp lines") << QByteArray("Udp: InDatagrams\nUdp: 1\n") << std::optional<qint64>();
    QTest::newRow("header without values")
        << QByteArray("Tcp: CurrEstab InSegs\n") << std::optional<qint64>();
    QTest::newRow("values line missing")
        << QByteArray("Tcp: CurrEstab InSegs\nUdp: 1 2\n") << std::optional<qint64>();
    QTest::newRow("column count differs")
        << QByteArray("Tcp: A CurrEstab B\nTcp: 1 2\n") << std::optional<qint64>();
    QTest::newRow("not a number") << QByteArray("Tcp: A CurrEstab\nTcp: 1 x\n") << std::optional<qint64>();
    QTest::newRow("no CurrEstab column") << QByteArray("Tcp: A B\nTcp: 1 2\n") << std::optional<qint64>();
    QTest::newRow("unsigned maximum")
        << QByteArray("Tcp: CurrEstab\nTcp: 18446744073709551615\n") << std::optional<qint64>(-1);
    QTest::newRow("carriage returns and extra blanks")
        << QByteArray("Tcp:  MaxConn   CurrEstab\r\nTcp: -1    2\r\n") << std::optional<qint64>(2);
}

void TestOnlineCheck::parseEstablished()
{
    QFETCH(QByteArray, snmp);
    QFETCH(std::optional<qint64>, expected);
    QCOMPARE(TcpStatistics::parseEstablished(snmp), expected);
}

void TestOnlineCheck::statisticsFile()
{
    QTemporaryDir dir;
    const QString path = dir.path() + u"/snmp"_s;
    QCOMPARE(TcpStatistics(path).establishedConnections(), std::optional<qint64>());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(KernelSample);
    file.close();
    QCOMPARE(TcpStatistics(path).establishedConnections(), std::optional<qint64>(7));
    QCOMPARE(TcpStatistics(dir.path()).establishedConnections(), std::optional<qint64>());

    if (QFile::exists(u"/proc/net/snmp"_s)) {
        quillet::system::SystemNetworkProbe probe;
        QVERIFY(probe.establishedTcpConnections().has_value());
    }
}

void TestOnlineCheck::resolverBoundsTheWait()
{
    const HostResolver slow([](const QString &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        return u"192.0.2.9"_s;
    });
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(slow.lookup(u"www.example.com"_s, 50), QString());
    QVERIFY2(clock.elapsed() < 1000, QByteArray::number(clock.elapsed()).constData());
    // Let the abandoned lookup finish before the test ends.
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
}

void TestOnlineCheck::resolverAnswers()
{
    const HostResolver fake(
        [](const QString &name) { return name == u"known" ? u"192.0.2.7"_s : QString(); });
    QCOMPARE(fake.lookup(u"known"_s, 2000), u"192.0.2.7"_s);
    QCOMPARE(fake.lookup(u"unknown"_s, 2000), QString());
    QCOMPARE(fake.lookup(QString(), 2000), QString());
    QCOMPARE(fake.lookup(u"known"_s, 0), QString());

    const QString local = HostResolver().lookup(u"localhost"_s);
    QVERIFY2(local == u"127.0.0.1" || local == u"::1", qPrintable(local));
    QCOMPARE(HostResolver().lookup(u"no-such-host.invalid"_s), QString());
}

void TestOnlineCheck::informationPage()
{
    const QUrl page(OnlineCheck::informationPage());
    QVERIFY(page.isValid());
    QCOMPARE(page.path(), u"/POParticle/16/78.Html"_s);
    QVERIFY(page.host().endsWith(u"example.org"_s));
}

QTEST_GUILESS_MAIN(TestOnlineCheck)
#include "tst_onlinecheck.moc"
