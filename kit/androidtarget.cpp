#include "kit/androidtarget.h"

#include "kit/androidninepatch.h"
#include "kit/androidresources.h"
#include "kit/plannedpictures.h"
#include "render/buttonrenderer.h"

#include <cmath>

namespace quillet::kit {

namespace {

using namespace Qt::StringLiterals;
namespace res = androidresources;

// The caption's box at a density, from the picture's edges, moved as the state moves it.
QMargins contentAt(const KitSkin::Caption &caption, qreal ratio)
{
    const QMargins &box = caption.box;
    const QPoint shift = caption.shift;
    const auto px = [ratio](int logical) { return int(std::lround(logical * ratio)); };
    return { px(box.left() + shift.x()), px(box.top() + shift.y()), px(box.right() - shift.x()),
        px(box.bottom() - shift.y()) };
}

QString folderOf(const res::Density &density)
{
    return u"res/drawable-"_s + density.qualifier + u'/';
}

class Files
{
public:
    explicit Files(QList<pictures::PlannedFile> *planned)
        : m_planned(planned)
    {
    }
    // False, with the file's name kept, when the picture could not be drawn or encoded.
    bool addPicture(const QString &name, QImage picture)
    {
        picture.setDevicePixelRatio(1);
        if (plannedpictures::add(*m_planned, name, picture))
            return true;
        m_undrawn = name;
        return false;
    }
    void addText(const QString &name, const QString &text)
    {
        m_planned->append(pictures::PlannedFile::ofBytes(name, text.toUtf8()));
    }
    const QString &undrawn() const { return m_undrawn; }

private:
    QList<pictures::PlannedFile> *m_planned;
    QString m_undrawn;
};

} // namespace

QStringView AndroidTarget::name() const
{
    return u"android";
}

QStringView AndroidTarget::summary() const
{
    return u"res/ for Android apps: nine-patches and check box pictures at every density, state lists, "
           u"colours, sizes and styles";
}

bool AndroidTarget::honours(Feature) const
{
    // One skin, PNG at the densities Android names, and resource names that must stay
    // lower case.
    return false;
}

void AndroidTarget::fit(Request &request) const
{
    // The model gives captions and slices; the nine-patches are drawn here at each density.
    request.ratios = { 1 };
    request.focus = true;
}

QList<pictures::PlannedFile> AndroidTarget::files(const Model &model, Problem *problem) const
{
    const KitSkin &skin = model.light().skin;
    const render::ButtonRenderer renderer(model.request().light.skin);
    const KitDrawing drawing { &renderer, model.height(), model.font(), {} };
    QList<pictures::PlannedFile> planned;
    Files files(&planned);
    res::Kit kit;
    kit.skinName = skin.name;
    kit.height = model.height();
    kit.minWidth = skin.slice.minWidth;
    kit.textSize = model.font().pointSizeF() * 4 / 3; // points at 96 dpi, as the renderer draws them
    for (const StateRow &row : kitpieces::kButtonRows) {
        const KitSkin::Caption &caption = skin.captions[row.cascade];
        kit.buttons.append({ row.state, res::name(u"button", row.word), caption.colour });
    }
    for (const StateRow &row : kitpieces::kCheckRows)
        kit.checks.append({ row.state, res::name(u"check", row.word), {} });

    for (const res::Density &density : res::kDensities) {
        for (const StateRow &row : kitpieces::kButtonRows) {
            const QImage drawn
                = kitpieces::blankButton(drawing, row.state, kitpieces::kSliceWidth, density.ratio);
            const QImage patch
                = androidninepatch::make(drawn, contentAt(skin.captions[row.cascade], density.ratio));
            kit.minWidth = qMax(kit.minWidth, int(std::ceil((patch.width() - 2) / density.ratio)));
            if (!files.addPicture(folderOf(density) + kit.buttons[row.cascade].name + u".9.png"_s, patch))
                break;
        }
        for (const StateRow &row : kitpieces::kCheckRows) {
            if (!files.addPicture(folderOf(density) + kit.checks[row.cascade].name + u".png"_s,
                    kitpieces::checkBox(renderer, row.state, density.ratio)))
                break;
        }
        if (!files.undrawn().isEmpty()) {
            if (problem)
                *problem = plannedpictures::undrawn(files.undrawn());
            return {};
        }
    }

    const skin::Skin &source = model.request().light.skin;
    kit.checkCaption = source.look(skin::Element::Check, skin::State::Normal).text;
    kit.checkCaptionDisabled = source.look(skin::Element::Check, skin::State::Disabled).text;
    if (!kit.checkCaption.isValid())
        kit.checkCaption = Qt::black;
    if (!kit.checkCaptionDisabled.isValid())
        kit.checkCaptionDisabled = kit.checkCaption;
    QList<res::StateItem> captions = kit.buttons;
    for (res::StateItem &item : captions)
        item.name.clear();
    const QList<res::StateItem> checkCaptions { { model::SampleState::Disabled, {},
                                                    kit.checkCaptionDisabled },
        { model::SampleState::Normal, {}, kit.checkCaption } };

    const QString p = res::kPrefix.toString();
    files.addText(u"res/drawable/%1_button.xml"_s.arg(p), res::drawableSelector(kit.buttons, true));
    files.addText(u"res/drawable/%1_check.xml"_s.arg(p), res::drawableSelector(kit.checks, false));
    files.addText(u"res/color/%1_button_text.xml"_s.arg(p), res::colourSelector(captions));
    files.addText(u"res/color/%1_check_text.xml"_s.arg(p), res::colourSelector(checkCaptions));
    files.addText(u"res/values/%1_dimens.xml"_s.arg(p), res::dimensions(kit));
    files.addText(u"res/values/%1_styles.xml"_s.arg(p), res::styles());
    files.addText(u"README.md"_s, res::readme(kit));
    return planned;
}

} // namespace quillet::kit
