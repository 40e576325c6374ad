#include "pictures/webexport.h"

#include "image/alphapicture.h"
#include "model/statetable.h"
#include "pictures/captionfont.h"
#include "pictures/cssclassname.h"
#include "pictures/nametemplate.h"
#include "pictures/spritecss.h"
#include "pictures/spritepage.h"
#include "pictures/spritesheet.h"
#include "pictures/webnames.h"
#include "render/buttonrenderer.h"

namespace quillet::pictures {

using model::StateRow;
namespace states = model::states;

using render::RenderRequest;
using render::SampleControl;
using render::SampleState;

namespace {

// Whether the job asks for a group's files beyond the designer window's own.
bool askedFor(const ButtonJob &job, OutputGroup group)
{
    switch (group) {
    case OutputGroup::ButtonStates:
        return job.focus;
    case OutputGroup::CheckBox:
        return job.everyCheckState;
    case OutputGroup::ComboButton:
    case OutputGroup::WholeWindow:
        break;
    }
    return false;
}

// The state of a group's file, those written only when asked for after the others.
SampleState stateOf(OutputGroup group, int index)
{
    const QList<StateRow> files = states::designerFiles(group, true);
    return files.isEmpty() ? SampleState::Normal : files[qBound(0, index, int(files.size()) - 1)].state;
}

RenderRequest requestFor(const ButtonJob &job, OutputGroup group, SampleState state, qreal ratio, bool alpha)
{
    RenderRequest request;
    request.state = state;
    request.devicePixelRatio = ratio;
    request.background = alpha ? QColor(Qt::transparent) : job.background;
    switch (group) {
    case OutputGroup::ComboButton:
        request.control = SampleControl::DropButton;
        request.size = job.dropSize;
        request.comboHeight = job.comboHeight;
        request.font = job.comboFont;
        break;
    case OutputGroup::CheckBox:
        request.control = SampleControl::CheckBox;
        request.size = job.checkSize;
        request.font = job.checkFont;
        break;
    case OutputGroup::ButtonStates:
    case OutputGroup::WholeWindow:
        request.control = SampleControl::PushButton;
        request.size = job.buttonSize;
        request.caption = job.caption;
        request.font = CaptionFont::forRatio(job.font, ratio);
        request.borderRemoval = job.borderRemoval;
        request.icon = job.icon;
        break;
    }
    return request;
}

// A see-through picture from two opaque ones: it blends to exactly what the renderer
// draws on black and on white, whatever the renderer's own rounding of layers.
QImage renderSeeThrough(const render::ButtonRenderer &renderer, RenderRequest request)
{
    request.background = Qt::black;
    const QImage onBlack = renderer.render(request);
    request.background = Qt::white;
    const QImage onWhite = renderer.render(request);
    return image::AlphaPicture::fromGrounds(onBlack, onWhite);
}

QImage renderPicture(const render::ButtonRenderer &renderer, const RenderRequest &request, bool alpha)
{
    return alpha ? renderSeeThrough(renderer, request) : renderer.render(request);
}

QList<OutputGroup> groupsOf(const ButtonJob &job)
{
    QList<OutputGroup> groups;
    if (job.button)
        groups.append(OutputGroup::ButtonStates);
    if (job.combo)
        groups.append(OutputGroup::ComboButton);
    if (job.check)
        groups.append(OutputGroup::CheckBox);
    return groups;
}

QString controlWord(OutputGroup group)
{
    switch (group) {
    case OutputGroup::ComboButton:
        return QStringLiteral("combo");
    case OutputGroup::CheckBox:
        return QStringLiteral("check");
    case OutputGroup::ButtonStates:
    case OutputGroup::WholeWindow:
        break;
    }
    return QStringLiteral("button");
}

QSize logicalSize(const ButtonJob &job, OutputGroup group)
{
    switch (group) {
    case OutputGroup::ComboButton:
        return job.dropSize;
    case OutputGroup::CheckBox:
        return job.checkSize;
    case OutputGroup::ButtonStates:
    case OutputGroup::WholeWindow:
        break;
    }
    return job.buttonSize;
}

QString templated(const ButtonJob &job, OutputGroup group, const QString &state)
{
    const QSize size = logicalSize(job, group);
    return NameTemplate::expand(job.nameTemplate,
        { job.caption, state, job.skinName, controlWord(group), size.width(), size.height() });
}

QString baseName(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

} // namespace

QString WebExport::spriteStem(const ButtonJob &job)
{
    if (!job.nameTemplate.isEmpty())
        return templated(job, OutputGroup::ButtonStates, QStringLiteral("sprite"));
    return ExportNaming::stem(OutputGroup::ButtonStates, job.caption, job.exportNumber);
}

QString WebExport::spriteSheetName(const ButtonJob &job, qreal ratio)
{
    // A template names the sheet itself (its {state} is "sprite"); the designer's names add
    // "_sprite" to the caption.
    if (!job.nameTemplate.isEmpty())
        return WebNames::scaled(spriteStem(job) + QStringLiteral(".png"), ratio);
    return WebNames::sprite(spriteStem(job), ratio);
}

QList<WebExport::File> WebExport::plan(const ButtonJob &job)
{
    QList<File> files;
    const QString extension = PictureBytes::extension(job.format);
    for (OutputGroup group : groupsOf(job)) {
        QList<ExportImageName> names
            = ExportNaming::groupImages(group, job.caption, job.exportNumber, extension);
        const QString stem = ExportNaming::stem(group, job.caption, job.exportNumber);
        for (const StateRow &row : states::designerFiles(group, askedFor(job, group)).mid(names.size())) {
            const QString suffix = row.suffix.toString();
            names.append({ group, stem, suffix, ExportNaming::fileName(stem, suffix, extension) });
        }
        for (qreal ratio : job.ratios) {
            for (int i = 0; i < names.size(); ++i) {
                QString name = names[i].fileName;
                if (!job.nameTemplate.isEmpty()) {
                    // The state word is the designer's suffix without its underscore.
                    const QString stem = templated(job, group, names[i].suffix.mid(1));
                    if (stem.isEmpty())
                        return {};
                    name = stem + extension;
                }
                files.append({ Kind::State, group, i, ratio, WebNames::scaled(name, ratio) });
            }
        }
    }
    if (job.sprite && job.button) {
        const QString stem = spriteStem(job);
        if (stem.isEmpty())
            return {};
        for (qreal ratio : job.ratios)
            files.append({ Kind::Sprite, OutputGroup::ButtonStates, 0, ratio, spriteSheetName(job, ratio) });
        files.append({ Kind::Css, OutputGroup::ButtonStates, 0, 1, WebNames::css(stem) });
        files.append({ Kind::Html, OutputGroup::ButtonStates, 0, 1, WebNames::html(stem) });
    }
    return files;
}

QImage WebExport::draw(const File &file, const ButtonJob &job, const render::ButtonRenderer &renderer)
{
    switch (file.kind) {
    case Kind::State: {
        const bool alpha = job.transparent && PictureBytes::keepsAlpha(job.format);
        return renderPicture(renderer,
            requestFor(job, file.group, stateOf(file.group, file.indexInGroup), file.ratio, alpha), alpha);
    }
    case Kind::Sprite: {
        QList<QImage> bands;
        for (const StateRow &band : states::spriteBands(job.focus))
            bands.append(renderPicture(renderer,
                requestFor(job, OutputGroup::ButtonStates, band.state, file.ratio, job.transparent),
                job.transparent));
        return SpriteSheet::assemble(bands);
    }
    case Kind::Css:
    case Kind::Html:
        break;
    }
    return {};
}

QByteArray WebExport::encode(const File &file, const ButtonJob &job, const QImage &drawn)
{
    switch (file.kind) {
    case Kind::State: {
        const bool alpha = job.transparent && PictureBytes::keepsAlpha(job.format);
        return alpha ? PictureBytes::transparent(drawn, job.format, job.background)
                     : PictureBytes::opaque(drawn, job.format, job.background);
    }
    case Kind::Sprite:
        return job.transparent ? PictureBytes::transparent(drawn, PictureFormat::Png, job.background)
                               : PictureBytes::opaque(drawn, PictureFormat::Png, job.background);
    case Kind::Css: {
        // The sheets lie beside the style sheet; a job without 1x pictures still lays the
        // page out at the logical size, from its lowest density.
        SpriteCss::Sheet sheet { CssClassName::fromCaption(job.caption), {}, job.buttonSize, job.focus };
        for (qreal ratio : job.ratios)
            sheet.files.append({ baseName(spriteSheetName(job, ratio)), ratio });
        return SpriteCss::text(sheet).toUtf8();
    }
    case Kind::Html:
        return SpritePage::html(
            job.caption, CssClassName::fromCaption(job.caption), baseName(WebNames::css(spriteStem(job))))
            .toUtf8();
    }
    return {};
}

QByteArray WebExport::produce(const File &file, const ButtonJob &job, const render::ButtonRenderer &renderer)
{
    return encode(file, job, draw(file, job, renderer));
}

} // namespace quillet::pictures
