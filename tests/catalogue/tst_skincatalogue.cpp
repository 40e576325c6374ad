#include "catalogue/skincatalogue.h"
#include "catalogue/skinorder.h"
#include "platform/system/gbkcodec.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using quillet::catalogue::SkinCatalogue;
using quillet::catalogue::SkinOrder;
using quillet::system::GbkCodec;

namespace {

bool touch(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

QStringList itemsOf(const QListWidget &list)
{
    QStringList items;
    for (int i = 0; i < list.count(); ++i)
        items.append(list.item(i)->text());
    return items;
}

// A first-element-pivot quicksort, kept here as the reference for the order:
// first-element pivot, the pivot's slot filled from alternate ends, descending.
class ReferenceQuicksort
{
public:
    explicit ReferenceQuicksort(QStringList &names)
        : m_names(names)
    {
    }

    void sort() { sort(0, m_names.size() - 1); }

private:
    static QByteArray keyOf(const QString &name)
    {
        QString folded = name;
        for (QChar &c : folded) {
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + (u'a' - u'A'));
        }
        return GbkCodec::toGbk(folded);
    }

    static int compare(const QByteArray &a, const QByteArray &b)
    {
        for (qsizetype i = 0; i < a.size() && i < b.size(); ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (x != y)
                return x < y ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }

    void sort(qsizetype low, qsizetype high)
    {
        if (low >= high)
            return;
        const QString pivot = m_names[low];
        const QByteArray pivotKey = keyOf(pivot);
        qsizetype i = low;
        qsizetype j = high;
        while (i < j) {
            while (i < j && compare(keyOf(m_names[j]), pivotKey) <= 0)
                --j;
            if (i < j)
                m_names[i++] = m_names[j];
            while (i < j && compare(keyOf(m_names[i]), pivotKey) >= 0)
                ++i;
            if (i < j)
                m_names[j--] = m_names[i];
        }
        m_names[i] = pivot;
        sort(low, i - 1);
        sort(i + 1, high);
    }

    QStringList &m_names;
};

} // namespace

class TestSkinCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fill_data();
    void fill();
    void displayName_data();
    void displayName();
    void compareKeys_data();
    void compareKeys();
    void agreesWithReferenceQuicksort();
    void equalKeysOrderedWhateverTheInput();
    void eventsProcessedPerFileFound();
    void missingFolderGivesEmptyLists();
    void listDeletedWhileFilling();
};

void TestSkinCatalogue::fill_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("skinFiles");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("chinese first, case ignored")
        << QStringList { "blue.an", "Aqua.an", "青春.an" } << QStringList { "青春.an", "blue.an", "Aqua.an" }
        << QStringList { "青春", "blue", "Aqua" };
    QTest::newRow("first dot ends the name")
        << QStringList { ".an", "my.skin.an" } << QStringList { "my.skin.an", ".an" }
        << QStringList { "my", "" };
    QTest::newRow("suffix in any case, others skipped")
        << QStringList { "RED.AN", "blue.an", "readme.txt", "x.an.bak", "an", "x.Ana" }
        << QStringList { "RED.AN", "blue.an" } << QStringList { "RED", "blue" };
    QTest::newRow("shared prefixes") << QStringList { "ab.an", "a.an", "abc.an", "abc1.an" }
                                     << QStringList { "abc1.an", "abc.an", "ab.an", "a.an" }
                                     << QStringList { "abc1", "abc", "ab", "a" };
    // GBK order differs from Unicode order for these (中 D6D0 is greatest, 啊 B0A1 least).
    QTest::newRow("chinese by gbk code") << QStringList { "啊.an", "黄.an", "中.an", "红.an", "蓝天.an" }
                                         << QStringList { "中.an", "蓝天.an", "黄.an", "红.an", "啊.an" }
                                         << QStringList { "中", "蓝天", "黄", "红", "啊" };
    // Folding to lower case puts _ (0x5F) below every letter.
    QTest::newRow("underscore below letters")
        << QStringList { "_x.an", "a.an", "Z.an", "`.an" } << QStringList { "Z.an", "a.an", "`.an", "_x.an" }
        << QStringList { "Z", "a", "`", "_x" };
}

void TestSkinCatalogue::fill()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, skinFiles);
    QFETCH(QStringList, items);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &name : std::as_const(files))
        QVERIFY(touch(dir.filePath(name)));
    QVERIFY(QDir(dir.path()).mkdir("folder.an"));
    QVERIFY(QDir(dir.path()).mkpath("deeper/inner.an.d"));
    QVERIFY(touch(dir.filePath("deeper/inner.an")));

    QStringList found { "stale.an" };
    QListWidget list;
    list.addItem("stale");
    SkinCatalogue::fill(dir.path(), found, &list, nullptr);
    QCOMPARE(found, skinFiles);
    QCOMPARE(itemsOf(list), items);
}

void TestSkinCatalogue::displayName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "blue.an"
                           << "blue";
    QTest::newRow("two dots") << "my.skin.an"
                              << "my";
    QTest::newRow("only suffix") << ".an"
                                 << "";
    QTest::newRow("chinese") << "青春.an"
                             << "青春";
    QTest::newRow("no dot") << "noext"
                            << "noext";
}

void TestSkinCatalogue::displayName()
{
    QFETCH(QString, fileName);
    QFETCH(QString, name);
    QCOMPARE(SkinCatalogue::displayName(fileName), name);
}

void TestSkinCatalogue::compareKeys_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("sign");
    QTest::newRow("prefix smaller") << "ab"
                                    << "abc" << -1;
    QTest::newRow("case ignored") << "ABC"
                                  << "abc" << 0;
    QTest::newRow("bytes unsigned") << "啊"
                                    << "z" << 1;
    QTest::newRow("euro 0x80 above ascii") << "€"
                                           << "~" << 1;
    QTest::newRow("empty smallest") << ""
                                    << "." << -1;
    QTest::newRow("backquote below a") << "`"
                                       << "A" << -1;
}

void TestSkinCatalogue::compareKeys()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, sign);
    const int result = SkinOrder::compareKeys(SkinOrder::key(a), SkinOrder::key(b));
    QCOMPARE((result > 0) - (result < 0), sign);
    const int reverse = SkinOrder::compareKeys(SkinOrder::key(b), SkinOrder::key(a));
    QCOMPARE((reverse > 0) - (reverse < 0), -sign);
}

void TestSkinCatalogue::agreesWithReferenceQuicksort()
{
    const QString alphabet = QStringLiteral("aAbBzZ09.-_[]^`\\青春啊中红黄€");
    QRandomGenerator random(20240611);
    for (int round = 0; round < 400; ++round) {
        QStringList names;
        QSet<QByteArray> keys;
        const int count = random.bounded(14);
        while (names.size() < count) {
            QString name;
            const int length = random.bounded(6);
            for (int i = 0; i < length; ++i)
                name.append(alphabet.at(random.bounded(alphabet.size())));
            if (!keys.contains(SkinOrder::key(name))) {
                keys.insert(SkinOrder::key(name));
                names.append(name);
            }
        }
        // Presorted input is where the reference degrades; include it.
        if (round % 4 == 1)
            std::sort(names.begin(), names.end());
        QStringList expected = names;
        ReferenceQuicksort(expected).sort();
        QStringList actual = names;
        SkinOrder::sortDescending(actual);
        QCOMPARE(actual, expected);
    }
}

void TestSkinCatalogue::equalKeysOrderedWhateverTheInput()
{
    QStringList forward { "Red.an", "red.an", "RED.an", "blue.an" };
    QStringList backward { "blue.an", "RED.an", "red.an", "Red.an" };
    SkinOrder::sortDescending(forward);
    SkinOrder::sortDescending(backward);
    QCOMPARE(forward, (QStringList { "red.an", "Red.an", "RED.an", "blue.an" }));
    QCOMPARE(backward, forward);
}

void TestSkinCatalogue::eventsProcessedPerFileFound()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char *name : { "a.an", "b.AN", "c.an", "notes.txt" })
        QVERIFY(touch(dir.filePath(name)));
    QStringList skinFiles;
    QListWidget list;
    QList<qsizetype> seen; // how many entries existed at each call
    SkinCatalogue::fill(dir.path(), skinFiles, &list, [&] {
        seen.append(skinFiles.size());
        QCOMPARE(list.count(), 0);
    });
    QCOMPARE(seen, (QList<qsizetype> { 1, 2, 3 }));
    QCOMPARE(skinFiles, (QStringList { "c.an", "b.AN", "a.an" }));
}

void TestSkinCatalogue::missingFolderGivesEmptyLists()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList skinFiles { "old.an" };
    QListWidget list;
    list.addItem("old");
    int calls = 0;
    SkinCatalogue::fill(dir.filePath("skins"), skinFiles, &list, [&] { ++calls; });
    QVERIFY(skinFiles.isEmpty());
    QCOMPARE(list.count(), 0);
    QCOMPARE(calls, 0);
    SkinCatalogue::fill(dir.filePath("skins"), skinFiles, nullptr, {});
    QVERIFY(skinFiles.isEmpty());
}

void TestSkinCatalogue::listDeletedWhileFilling()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(touch(dir.filePath("a.an")));
    QVERIFY(touch(dir.filePath("b.an")));
    QStringList skinFiles;
    auto *list = new QListWidget;
    SkinCatalogue::fill(dir.path(), skinFiles, list, [&] {
        delete list;
        list = nullptr;
    });
    QCOMPARE(skinFiles, (QStringList { "b.an", "a.an" }));
}

QTEST_MAIN(TestSkinCatalogue)
#include "tst_skincatalogue.moc"
