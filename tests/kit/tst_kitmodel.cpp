// The kit's own floor: the rule writer's layout (which kit.css depends on byte for byte),
// which request features a target leaves unmet, the one target list, and what the model
// holds once built.
#include "kit/model.h"
#include "kit/rulewriter.h"
#include "kit/targets.h"
#include "platform/form/fontsetup.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace quillet;

namespace {

// A target that honours only what it is given.
class PartialTarget : public kit::Target
{
public:
    explicit PartialTarget(QList<kit::Feature> honoured)
        : m_honoured(std::move(honoured))
    {
    }
    QStringView name() const override { return u"partial"; }
    QStringView summary() const override { return u"honours a few features"; }
    bool honours(kit::Feature feature) const override { return m_honoured.contains(feature); }
    QList<pictures::PlannedFile> files(const kit::Model &, kit::Problem *) const override { return {}; }

private:
    QList<kit::Feature> m_honoured;
};

kit::Request requestAsking(const QList<kit::Feature> &features)
{
    kit::Request request;
    for (kit::Feature feature : features) {
        switch (feature) {
        case kit::Feature::DarkSkin:
            request.dark = kit::Source {};
            break;
        case kit::Feature::Webp:
            request.webp = true;
            break;
        case kit::Feature::Pieces:
            request.layout = kit::Layout::Pieces;
            break;
        case kit::Feature::Inline:
            request.layout = kit::Layout::Inline;
            break;
        case kit::Feature::Prefix:
            request.prefix = u"brand"_s;
            break;
        case kit::Feature::Scale:
            request.ratios = { 1, 2 };
            break;
        case kit::Feature::FractionalScale:
            request.ratios = { 1, 1.5 };
            break;
        }
    }
    return request;
}

} // namespace

using Features = QList<kit::Feature>;

class TestKitModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { form::FontSetup::install(); }

    void ruleLayout_data()
    {
        QTest::addColumn<int>("depth"); // at-rules around the rule
        QTest::addColumn<QStringList>("selectors");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one selector")
            << 0 << QStringList { u".qk-button"_s } << u".qk-button {\n  a: 1;\n  b: x y;\n}\n"_s;
        QTest::newRow("selectors a line each") << 0 << QStringList { u".b:hover"_s, u".b.is-hover"_s }
                                               << u".b:hover,\n.b.is-hover {\n  a: 1;\n  b: x y;\n}\n"_s;
        QTest::newRow("inside an at-rule")
            << 1 << QStringList { u".b:disabled"_s, u".b[aria-disabled=\"true\"]"_s }
            << u"@m {\n  .b:disabled,\n  .b[aria-disabled=\"true\"] {\n    a: 1;\n    b: x y;\n  }\n}\n"_s;
        QTest::newRow("two deep")
            << 2 << QStringList { u":root"_s }
            << u"@m {\n  @m {\n    :root {\n      a: 1;\n      b: x y;\n    }\n  }\n}\n"_s;
    }
    void ruleLayout()
    {
        QFETCH(int, depth);
        QFETCH(QStringList, selectors);
        QFETCH(QString, expected);
        kit::RuleWriter writer;
        for (int i = 0; i < depth; ++i)
            writer.open(u"@m"_s);
        writer.rule(selectors, { { u"a"_s, u"1"_s }, { u"b"_s, u"x y"_s } });
        for (int i = 0; i < depth; ++i)
            writer.close();
        QCOMPARE(writer.text(), expected);
    }

    void commentsAndEmptyRules()
    {
        kit::RuleWriter writer;
        writer.open(u"@media (x)"_s);
        writer.comment(u"note"_s);
        writer.rule(u".c"_s, {});
        writer.close();
        writer.rule(u".d"_s, { { u"e"_s, u"f"_s } });
        QCOMPARE(writer.text(), u"@media (x) {\n  /* note */\n  .c {\n  }\n}\n.d {\n  e: f;\n}\n"_s);
    }

    void unmetFeatures_data()
    {
        QTest::addColumn<Features>("honoured");
        QTest::addColumn<Features>("asked");
        QTest::addColumn<Features>("unmet");
        using F = kit::Feature;
        const Features all { F::DarkSkin, F::Webp, F::Pieces, F::Inline, F::Prefix, F::Scale };
        QTest::newRow("nothing asked") << Features {} << Features {} << Features {};
        QTest::newRow("all honoured")
            << all << Features { F::DarkSkin, F::Webp, F::Inline, F::Prefix } << Features {};
        QTest::newRow("none honoured, in feature order")
            << Features {} << Features { F::Prefix, F::Webp, F::DarkSkin }
            << Features { F::DarkSkin, F::Webp, F::Prefix };
        QTest::newRow("pieces without inline")
            << Features { F::Inline } << Features { F::Pieces } << Features { F::Pieces };
        QTest::newRow("only the unmet one")
            << Features { F::Webp, F::DarkSkin } << Features { F::Webp, F::DarkSkin, F::Prefix }
            << Features { F::Prefix };
        QTest::newRow("densities beyond 1x")
            << Features { F::Webp } << Features { F::Scale, F::Webp } << Features { F::Scale };
        // 1.5x is a density beyond 1x too; whole densities do not ask for half ones.
        QTest::newRow("a half density where whole ones are honoured")
            << Features { F::Scale } << Features { F::FractionalScale } << Features { F::FractionalScale };
        QTest::newRow("a half density where none is honoured")
            << Features {} << Features { F::FractionalScale } << Features { F::Scale, F::FractionalScale };
    }
    void unmetFeatures()
    {
        QFETCH(Features, honoured);
        QFETCH(Features, asked);
        QFETCH(Features, unmet);
        const PartialTarget target(honoured);
        QCOMPARE(kit::targetlist::unmet(target, requestAsking(asked)), unmet);
    }

    // The default prefix and the sheet layout ask for nothing: every target can make them.
    void plainRequestAsksNothing() { QVERIFY(kit::requests::features(kit::Request {}).isEmpty()); }

    void oneListOfTargets()
    {
        QVERIFY(!kit::targets().empty());
        QCOMPARE(kit::targets().front()->name(), u"web");
        QCOMPARE(kit::Request {}.target, kit::targets().front()->name().toString());
        QStringList names;
        for (const kit::Target *target : kit::targets()) {
            QVERIFY(!target->summary().isEmpty());
            QVERIFY2(!names.contains(target->name().toString()), qPrintable(target->name().toString()));
            names.append(target->name().toString());
            QCOMPARE(kit::targetlist::find(target->name()), target);
        }
        QCOMPARE(kit::targetlist::find(u"nope"), nullptr);
        QCOMPARE(kit::targetlist::find(u""), nullptr);
    }

    void modelHoldsWhatWasAsked_data()
    {
        QTest::addColumn<bool>("focus");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QList<qreal>>("ratios");
        QTest::newRow("plain") << false << false << QList<qreal> { 1 };
        QTest::newRow("focus, two densities") << true << false << QList<qreal> { 1, 2 };
        QTest::newRow("dark") << false << true << QList<qreal> { 1 };
    }
    void modelHoldsWhatWasAsked()
    {
        QFETCH(bool, focus);
        QFETCH(bool, dark);
        QFETCH(QList<qreal>, ratios);
        kit::Request request;
        request.font = QFont(u"宋体"_s, 9);
        request.focus = focus;
        request.ratios = ratios;
        request.light.name = u"light"_s;
        if (dark)
            request.dark = kit::Source { skin::Skin(), u"dark"_s };
        const kit::Model model = kit::Model::build(request);
        QCOMPARE(model.prefix(), kit::kDefaultPrefix.toString());
        QCOMPARE(model.schemes().size(), dark ? 2 : 1);
        QCOMPARE(model.dark() != nullptr, dark);
        QCOMPARE(model.sheet().buttons.size(), model.schemes().size());
        const QList<kit::StateRow> drawn = model.buttonStates();
        QCOMPARE(drawn.size(), qsizetype(kit::kitpieces::kButtonRows.size()) - (focus ? 0 : 1));
        for (const kit::Scheme &scheme : model.schemes()) {
            QCOMPARE(scheme.byRatio.size(), ratios.size());
            QCOMPARE(scheme.skin.captions.size(), qsizetype(kit::kitpieces::kButtonRows.size()));
            for (qsizetype r = 0; r < ratios.size(); ++r) {
                for (const kit::StateRow &row : kit::kitpieces::kButtonRows) {
                    const kit::KitPieces &pieces = scheme.byRatio[r].pieces[size_t(row.cascade)];
                    QCOMPARE(!pieces.middle.isNull(), model.draws(row));
                    if (model.draws(row))
                        QCOMPARE(pieces.middle.devicePixelRatio(), ratios[r]);
                }
                for (const QImage &box : scheme.byRatio[r].checks)
                    QCOMPARE(box.size(), QSize(13, 13) * ratios[r]);
            }
        }
        // The shared tokens (height, font) come once, with the light scheme.
        const auto has = [](const kit::Scheme &scheme, kit::kittokens::Token token) {
            return std::any_of(scheme.tokens.begin(), scheme.tokens.end(),
                [token](const kit::kittokens::Value &value) { return value.token == token; });
        };
        QVERIFY(has(model.light(), kit::kittokens::Token::Height));
        if (dark) {
            QVERIFY(!has(*model.dark(), kit::kittokens::Token::Height));
            QVERIFY(has(*model.dark(), kit::kittokens::Token::CapLeft));
        }
    }
};

QTEST_MAIN(TestKitModel)
#include "tst_kitmodel.moc"
