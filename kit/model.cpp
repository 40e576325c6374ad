#include "pictures/kitbuild.h"

#include "pictures/kitpage.h"
#include "pictures/kitpieces.h"
#include "pictures/kitsheet.h"
#include "pictures/kittokens.h"
#include "pictures/picturebytes.h"
#include "render/buttonrenderer.h"

using namespace Qt::StringLiterals;

namespace quillet::pictures::kitbuild {

namespace {

struct Output
{
    QString name; // relative to the kit's folder
    QByteArray bytes;
};

// One skin drawn: what the style sheet needs of it, and its pieces at each density.
struct Drawn
{
    KitSkin kit;
    QColor base;
    QList<KitSheetSkin> byRatio; // in the order of KitStyle::ratios
};

QList<PictureFormat> formatsOf(const KitStyle &style)
{
    return style.webp ? QList<PictureFormat> { PictureFormat::Png, PictureFormat::Webp }
                      : QList<PictureFormat> { PictureFormat::Png };
}

Drawn drawSkin(const KitSource &source, const KitStyle &style, const QFont &font)
{
    const skin::Skin &skin = source.skin;
    const render::ButtonRenderer renderer(skin);
    Drawn result;
    result.kit.name = source.name;
    result.kit.page = skin.base();
    result.base = skin.base();
    kittokens::readSkin(skin, style.height, &result.kit);
    KitDrawing drawing { &renderer, style.height, font, {} };
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        if (kitcss::drawsState(style, state))
            drawing.states.append(kitpieces::kStates[size_t(state)]);
    }
    result.kit.slice = kitpieces::slice(drawing, style.ratios);
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        const skin::Look &look = skin.look(skin::Element::Button, kitpieces::kButtonRows[size_t(state)].look);
        result.kit.captions.append({ look.text.isValid() ? look.text : QColor(Qt::black), look.textShift,
            look.margin + look.padding });
    }
    for (qreal ratio : style.ratios) {
        KitSheetSkin drawnAt;
        drawnAt.slice = result.kit.slice;
        for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
            if (kitcss::drawsState(style, state))
                drawnAt.pieces[size_t(state)]
                    = kitpieces::cut(kitpieces::blankButton(drawing, kitpieces::kStates[size_t(state)],
                                         kitpieces::kSliceWidth, ratio),
                        result.kit.slice);
        }
        for (int state = 0; state < int(std::size(kitpieces::kCheckStates)); ++state)
            drawnAt.checks[size_t(state)]
                = kitpieces::checkBox(renderer, kitpieces::kCheckStates[size_t(state)], ratio);
        result.byRatio.append(drawnAt);
    }
    return result;
}

// One file per piece, as kitcss names them.
void addPieces(const Drawn &skin, bool dark, const KitStyle &style, QList<Output> &files)
{
    const QList<PictureFormat> formats = formatsOf(style);
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        if (!kitcss::drawsState(style, state))
            continue;
        for (qsizetype r = 0; r < style.ratios.size(); ++r) {
            const KitPieces &pieces = skin.byRatio[r].pieces[size_t(state)];
            const QImage parts[] = { pieces.left, pieces.middle, pieces.right };
            for (int part = 0; part < 3; ++part) {
                for (PictureFormat format : formats)
                    files.append({ kitcss::pieceName(dark, kitcss::kStateWords[size_t(state)],
                                       kitcss::kParts[part], style.ratios[r], format),
                        PictureBytes::transparent(parts[part], format, skin.base) });
            }
        }
    }
    for (int state = 0; state < int(std::size(kitpieces::kCheckStates)); ++state) {
        for (qsizetype r = 0; r < style.ratios.size(); ++r) {
            for (PictureFormat format : formats)
                files.append({ kitcss::checkName(
                                   dark, kitcss::kCheckWords[size_t(state)], style.ratios[r], format),
                    PictureBytes::transparent(skin.byRatio[r].checks[size_t(state)], format, skin.base) });
        }
    }
}

} // namespace

QList<PlannedFile> files(const KitSource &light, const std::optional<KitSource> &dark, KitStyle &style,
    const QFont &font, QStringList *notes, KitProblem *problem)
{
    QList<Drawn> skins { drawSkin(light, style, font) };
    if (dark)
        skins.append(drawSkin(*dark, style, font));
    style.light = skins.first().kit;
    style.dark.reset();
    if (dark)
        style.dark = skins.last().kit;
    for (const KitSkin *kit : { &style.light, style.dark ? &*style.dark : nullptr }) {
        if (kit && !kit->slice.exact && notes)
            notes->append(kitcss::inexactNote(*kit));
    }

    QList<Output> files;
    if (style.layout == KitLayout::Sheet) {
        std::array<bool, kitpieces::kStates.size()> drawn {};
        for (size_t state = 0; state < drawn.size(); ++state)
            drawn[state] = kitcss::drawsState(style, int(state));
        QList<KitSlice> slices;
        for (const Drawn &skin : std::as_const(skins))
            slices.append(skin.kit.slice);
        style.sheet = kitsheet::layout(slices, style.height, drawn);
        for (qsizetype r = 0; r < style.ratios.size(); ++r) {
            QList<KitSheetSkin> atRatio;
            for (const Drawn &skin : std::as_const(skins))
                atRatio.append(skin.byRatio[r]);
            const QImage sheet = kitsheet::draw(style.sheet, atRatio, style.ratios[r]);
            for (PictureFormat format : formatsOf(style))
                files.append({ kitcss::sheetName(style.ratios[r], format),
                    PictureBytes::transparent(sheet, format, skins.first().base) });
        }
    } else {
        for (qsizetype skin = 0; skin < skins.size(); ++skin)
            addPieces(skins[skin], skin > 0, style, files);
    }

    for (const Output &file : std::as_const(files)) {
        if (file.bytes.isEmpty()) {
            if (problem)
                *problem = { QStringLiteral("cannot draw \"") + file.name + u'"', false };
            return {};
        }
    }
    if (style.layout == KitLayout::Inline) {
        style.inlined.clear();
        for (const Output &file : std::as_const(files))
            style.inlined.insert(file.name, file.bytes);
        files.clear();
    }
    const QByteArray css = kitcss::text(style).toUtf8();
    if (style.layout == KitLayout::Inline && css.size() > kInlineLimit) {
        if (problem)
            *problem
                = { u"--inline: kit.css would take %1 KiB, over the %2 KiB an in-line kit may "
                    "take (leave out --inline, or ask for fewer densities)"_s.arg((css.size() + 1023) / 1024)
                          .arg(kInlineLimit / 1024),
                      true };
        return {};
    }
    files.append({ u"kit.tokens.json"_s, kittokens::json(style) });
    files.append({ u"kit.css"_s, css });
    files.append({ u"kit.html"_s, kitpage::html(style, u"kit.css"_s).toUtf8() });
    QList<PlannedFile> planned;
    for (const Output &file : std::as_const(files))
        planned.append(PlannedFile::ofBytes(file.name, file.bytes));
    return planned;
}

} // namespace quillet::pictures::kitbuild
