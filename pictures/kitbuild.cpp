#include "pictures/kitbuild.h"

#include "pictures/kitpage.h"
#include "pictures/kitpieces.h"
#include "pictures/kittokens.h"
#include "pictures/picturebytes.h"
#include "render/buttonrenderer.h"

namespace quillet::pictures::kitbuild {

namespace {

struct Output
{
    QString name; // relative to the kit's folder
    QByteArray bytes;
};

// Pieces and colours of one skin; the files go to `files`.
KitSkin drawSkin(
    const KitSource &source, bool dark, const KitStyle &style, const QFont &font, QList<Output> &files)
{
    const skin::Skin &skin = source.skin;
    const render::ButtonRenderer renderer(skin);
    KitSkin result;
    result.name = source.name;
    result.page = skin.base();
    kittokens::readSkin(skin, style.height, &result);
    KitDrawing drawing { &renderer, style.height, font, {} };
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        if (kitcss::drawsState(style, state))
            drawing.states.append(kitpieces::kStates[size_t(state)]);
    }
    result.slice = kitpieces::slice(drawing, style.ratios);
    for (int state = 0; state < int(std::size(kitpieces::kStates)); ++state) {
        const skin::Look &look = skin.look(skin::Element::Button, kitpieces::kButtonRows[size_t(state)].look);
        result.captions.append({ look.text.isValid() ? look.text : QColor(Qt::black), look.textShift,
            look.margin + look.padding });
        if (!kitcss::drawsState(style, state))
            continue;
        for (qreal ratio : style.ratios) {
            const KitPieces pieces
                = kitpieces::cut(kitpieces::blankButton(drawing, kitpieces::kStates[size_t(state)],
                                     kitpieces::kSliceWidth, ratio),
                    result.slice);
            const QImage parts[] = { pieces.left, pieces.middle, pieces.right };
            for (int part = 0; part < 3; ++part) {
                for (PictureFormat format : { PictureFormat::Png, PictureFormat::Webp }) {
                    if (format == PictureFormat::Webp && !style.webp)
                        continue;
                    files.append({ kitcss::pieceName(dark, kitcss::kStateWords[size_t(state)],
                                       kitcss::kParts[part], ratio, format),
                        PictureBytes::transparent(parts[part], format, skin.base()) });
                }
            }
        }
    }
    for (int state = 0; state < int(std::size(kitpieces::kCheckStates)); ++state) {
        for (qreal ratio : style.ratios) {
            const QImage picture
                = kitpieces::checkBox(renderer, kitpieces::kCheckStates[size_t(state)], ratio);
            for (PictureFormat format : { PictureFormat::Png, PictureFormat::Webp }) {
                if (format == PictureFormat::Webp && !style.webp)
                    continue;
                files.append({ kitcss::checkName(dark, kitcss::kCheckWords[size_t(state)], ratio, format),
                    PictureBytes::transparent(picture, format, skin.base()) });
            }
        }
    }
    return result;
}

} // namespace

QList<PlannedFile> files(const KitSource &light, const std::optional<KitSource> &dark, KitStyle &style,
    const QFont &font, QStringList *notes, KitProblem *problem)
{
    QList<Output> files;
    style.light = drawSkin(light, false, style, font, files);
    style.dark.reset();
    if (dark)
        style.dark = drawSkin(*dark, true, style, font, files);
    for (const KitSkin *kit : { &style.light, style.dark ? &*style.dark : nullptr }) {
        if (kit && !kit->slice.exact && notes)
            notes->append(kitcss::inexactNote(*kit));
    }
    files.append({ QStringLiteral("kit.tokens.json"), kittokens::json(style) });
    files.append({ QStringLiteral("kit.css"), kitcss::text(style).toUtf8() });
    files.append({ QStringLiteral("kit.html"), kitpage::html(style, QStringLiteral("kit.css")).toUtf8() });
    QList<PlannedFile> planned;
    for (const Output &file : std::as_const(files)) {
        if (file.bytes.isEmpty()) {
            if (problem)
                *problem = { QStringLiteral("cannot draw \"") + file.name + u'"', false };
            return {};
        }
        planned.append(PlannedFile::ofBytes(file.name, file.bytes));
    }
    return planned;
}

} // namespace quillet::pictures::kitbuild
