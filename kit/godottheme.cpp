#include "kit/godottheme.h"

#include "pictures/webnames.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace quillet::kit::godottheme {

namespace {

using model::SampleState;

// The same item under each version's name; empty where that version has none (Godot 3.2
// has no focus colour, no hover_pressed style on Button and no disabled check icons).
struct Names
{
    QStringView godot3;
    QStringView godot4;

    QStringView in(Version version) const { return version == Version::Godot3 ? godot3 : godot4; }
};

struct ButtonItem
{
    SampleState state;
    Names name;
};

// A pressed toggle button under the pointer looks pressed, as the skin draws it.
constexpr ButtonItem kButtonStyles[] = {
    { SampleState::Normal, { u"normal", u"normal" } },
    { SampleState::Hot, { u"hover", u"hover" } },
    { SampleState::Pressed, { u"pressed", u"pressed" } },
    { SampleState::Pressed, { u"", u"hover_pressed" } },
    { SampleState::Disabled, { u"disabled", u"disabled" } },
    { SampleState::Focused, { u"focus", u"focus" } },
};
constexpr ButtonItem kButtonColours[] = {
    { SampleState::Normal, { u"font_color", u"font_color" } },
    { SampleState::Hot, { u"font_color_hover", u"font_hover_color" } },
    { SampleState::Pressed, { u"font_color_pressed", u"font_pressed_color" } },
    { SampleState::Pressed, { u"", u"font_hover_pressed_color" } },
    { SampleState::Disabled, { u"font_color_disabled", u"font_disabled_color" } },
    { SampleState::Focused, { u"", u"font_focus_color" } },
};
// CheckBox finds Button's items by inheritance where the theme has none of its own: it
// gets its own empty styles and every caption colour, from the check box's look.
constexpr Names kCheckStyles[] = {
    { u"normal", u"normal" },
    { u"hover", u"hover" },
    { u"pressed", u"pressed" },
    { u"hover_pressed", u"hover_pressed" },
    { u"disabled", u"disabled" },
    { u"focus", u"focus" },
};
struct CheckColour
{
    bool disabled;
    Names name;
};
constexpr CheckColour kCheckColours[] = {
    { false, { u"font_color", u"font_color" } },
    { false, { u"font_color_hover", u"font_hover_color" } },
    { false, { u"font_color_pressed", u"font_pressed_color" } },
    { false, { u"font_color_hover_pressed", u"font_hover_pressed_color" } },
    { false, { u"", u"font_focus_color" } },
    { true, { u"font_color_disabled", u"font_disabled_color" } },
};
constexpr ButtonItem kCheckIcons[] = {
    { SampleState::Normal, { u"unchecked", u"unchecked" } },
    { SampleState::Checked, { u"checked", u"checked" } },
    { SampleState::Disabled, { u"", u"unchecked_disabled" } },
    { SampleState::CheckedDisabled, { u"", u"checked_disabled" } },
};

// The style box's properties by version.
struct BoxNames
{
    Names margin[4]; // left, top, right, bottom
};
constexpr BoxNames kTextureMargins { { { u"margin_left", u"texture_margin_left" },
    { u"margin_top", u"texture_margin_top" }, { u"margin_right", u"texture_margin_right" },
    { u"margin_bottom", u"texture_margin_bottom" } } };
constexpr QStringView kContentMargins[]
    = { u"content_margin_left", u"content_margin_top", u"content_margin_right", u"content_margin_bottom" };
// Godot's AXIS_STRETCH_MODE_TILE, the same number in both versions.
constexpr int kTile = 1;

QString number(qreal value)
{
    QString text = QString::number(value, 'g', 6);
    return text.contains(u'.') || text.contains(u'e') ? text : text + u".0"_s;
}

QString colour(const QColor &value, Version version)
{
    const QColor c = value.isValid() ? value : QColor(Qt::black);
    const QString list = QString::number(c.redF(), 'g', 6) + u", "_s + QString::number(c.greenF(), 'g', 6)
        + u", "_s + QString::number(c.blueF(), 'g', 6) + u", "_s + QString::number(c.alphaF(), 'g', 6);
    return version == Version::Godot3 ? QString(u"Color( "_s + list + u" )"_s)
                                      : QString(u"Color("_s + list + u')');
}

QString quoted(const QString &text)
{
    return u'"' + QString(text).replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s) + u'"';
}

// The resource text as Godot writes it: external pictures, sub-resources, then the theme's
// own items. Ids are numbers in Godot 3 and strings in Godot 4.
class TresWriter
{
public:
    explicit TresWriter(Version version)
        : m_version(version)
    {
    }

    // One entry a picture, however many items name it.
    QString external(const QString &path)
    {
        if (const auto known = m_named.constFind(path); known != m_named.cend())
            return *known;
        const int id = int(m_externals.size()) + 1;
        if (m_version == Version::Godot3)
            m_externals << u"[ext_resource path=%1 type=\"Texture\" id=%2]"_s.arg(quoted(path)).arg(id);
        else
            m_externals << u"[ext_resource type=\"Texture2D\" path=%1 id=\"%2\"]"_s.arg(quoted(path)).arg(id);
        const QString reference = m_version == Version::Godot3 ? u"ExtResource( %1 )"_s.arg(id)
                                                               : u"ExtResource(\"%1\")"_s.arg(id);
        m_named.insert(path, reference);
        return reference;
    }

    // A sub-resource of the given type and properties; the text that names it.
    QString sub(const QString &type, const QList<std::pair<QString, QString>> &properties)
    {
        const int id = int(m_subs.size()) + 1;
        QString text = m_version == Version::Godot3
            ? u"[sub_resource type=\"%1\" id=%2]\n"_s.arg(type).arg(id)
            : u"[sub_resource type=\"%1\" id=\"%1_%2\"]\n"_s.arg(type).arg(id);
        for (const auto &[key, value] : properties)
            text += key + u" = "_s + value + u'\n';
        m_subs << text;
        return m_version == Version::Godot3 ? u"SubResource( %1 )"_s.arg(id)
                                            : u"SubResource(\"%1_%2\")"_s.arg(type).arg(id);
    }

    void item(QStringView type, QStringView kind, QStringView name, const QString &value)
    {
        m_items.append(QString(type + u'/' + kind + u'/' + name + u" = "_s + value));
    }

    QString text() const
    {
        const qsizetype steps = m_externals.size() + m_subs.size() + 1;
        QString result = u"[gd_resource type=\"Theme\" load_steps=%1 format=%2]\n\n"_s.arg(steps).arg(
            m_version == Version::Godot3 ? 2 : 3);
        for (const QString &line : m_externals)
            result += line + u'\n';
        if (!m_externals.isEmpty())
            result += u'\n';
        for (const QString &sub : m_subs)
            result += sub + u'\n';
        result += u"[resource]\n"_s;
        for (const QString &line : m_items)
            result += line + u'\n';
        return result;
    }

private:
    Version m_version;
    QStringList m_externals;
    QStringList m_subs;
    QStringList m_items;
    QHash<QString, QString> m_named;
};

template<typename Item> const Item *find(const QList<Item> &items, SampleState state)
{
    for (const Item &item : items) {
        if (item.state == state)
            return &item;
    }
    return nullptr;
}

int scaled(int value, qreal ratio)
{
    return qRound(value * ratio);
}

// The caps are the texture margins; the face is as high as the picture, so nothing is
// cut across it and a button of the kit's height shows each row once.
QString buttonStyle(TresWriter &writer, const GodotThemeInput &input, const GodotButtonStyle &style,
    Version version, qreal ratio)
{
    const QString &picture
        = version == Version::Godot3 && !style.godot3Picture.isEmpty() ? style.godot3Picture : style.picture;
    const QString texture = writer.external(pictures::WebNames::scaled(picture, ratio));
    const int content[]
        = { style.content.left(), style.content.top(), style.content.right(), style.content.bottom() };
    const int margins[] = { input.slice.left, 0, input.slice.right, 0 };
    QList<std::pair<QString, QString>> properties;
    for (int side = 0; side < 4; ++side)
        properties.append({ kContentMargins[side].toString(), number(scaled(content[side], ratio)) });
    properties.append({ u"texture"_s, texture });
    for (int side = 0; side < 4; ++side) {
        if (margins[side] > 0)
            properties.append({ kTextureMargins.margin[side].in(version).toString(),
                number(scaled(margins[side], ratio)) });
    }
    properties.append({ u"axis_stretch_horizontal"_s, QString::number(kTile) });
    return writer.sub(u"StyleBoxTexture"_s, properties);
}

} // namespace

QString themeName(Version version, qreal ratio)
{
    return pictures::WebNames::scaled(
        version == Version::Godot3 ? u"theme-godot3.tres"_s : u"theme-godot4.tres"_s, ratio);
}

QString pictureName(QStringView control, QStringView word, qreal ratio)
{
    return pictures::WebNames::scaled(kFolder + u'/' + control + u'-' + word + u".png"_s, ratio);
}

QMargins contentMargins(const KitSlice &slice, const QMargins &box, const QPoint &shift)
{
    QMargins content(
        box.left() + shift.x(), box.top() + shift.y(), box.right() - shift.x(), box.bottom() - shift.y());
    // Widened on both sides alike, so the caption's centre stays where it was.
    const int wider = qMax(0, qMax(slice.left - content.left(), slice.right - content.right()));
    content.setLeft(content.left() + wider);
    content.setRight(content.right() + wider);
    const int taller = qMax(0, qMax(-content.top(), -content.bottom()));
    content.setTop(content.top() + taller);
    content.setBottom(content.bottom() + taller);
    return content;
}

QImage joined(const KitPieces &pieces)
{
    if (pieces.left.isNull() || pieces.middle.isNull() || pieces.right.isNull())
        return {};
    const int width = pieces.left.width() + pieces.middle.width() + pieces.right.width();
    QImage picture(width, pieces.middle.height(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    int x = 0;
    for (const QImage *piece : { &pieces.left, &pieces.middle, &pieces.right }) {
        const QImage part = piece->convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < picture.height() && y < part.height(); ++y)
            std::memcpy(reinterpret_cast<QRgb *>(picture.scanLine(y)) + x, part.constScanLine(y),
                size_t(part.width()) * sizeof(QRgb));
        x += part.width();
    }
    return picture;
}

QImage overlay(const QImage &focused, const QImage &under)
{
    if (focused.isNull() || focused.size() != under.size())
        return {};
    const QImage f = focused.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage n = under.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage result(f.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < f.height(); ++y) {
        const auto *fp = reinterpret_cast<const QRgb *>(f.constScanLine(y));
        const auto *np = reinterpret_cast<const QRgb *>(n.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < f.width(); ++x) {
            if (fp[x] == np[x]) {
                out[x] = 0;
                continue;
            }
            // Premultiplied, over gives F = O + (1 - a) N. Where N shows through and F is
            // darker at the same alpha no overlay gives F on every page: the alpha whose
            // result is closest on black and on white (which bound every opaque page) is
            // taken, the thinnest of equals.
            const int fc[] = { qRed(fp[x]), qGreen(fp[x]), qBlue(fp[x]) };
            const int nc[] = { qRed(np[x]), qGreen(np[x]), qBlue(np[x]) };
            const int fa = qAlpha(fp[x]);
            const int na = qAlpha(np[x]);
            int best = 256;
            int a = 0;
            int oc[3] = {};
            for (int alpha = 0; alpha <= 255 && best > 0; ++alpha) {
                int colours[3];
                const int shown = alpha + ((255 - alpha) * na + 127) / 255;
                int error = 0;
                for (int c = 0; c < 3; ++c) {
                    colours[c] = qBound(0, int(std::lround(fc[c] - (255 - alpha) * nc[c] / 255.0)), alpha);
                    const int onBlack = colours[c] + ((255 - alpha) * nc[c] + 127) / 255;
                    error = qMax(error, qAbs(onBlack - fc[c]));
                    error = qMax(error, qAbs(onBlack + 255 - shown - (fc[c] + 255 - fa)));
                }
                if (error < best) {
                    best = error;
                    a = alpha;
                    std::copy(std::begin(colours), std::end(colours), std::begin(oc));
                }
            }
            out[x] = qRgba(oc[0], oc[1], oc[2], a);
        }
    }
    result.setDevicePixelRatio(focused.devicePixelRatio());
    return result;
}

QString theme(const GodotThemeInput &input, Version version, qreal ratio)
{
    TresWriter writer(version);
    QHash<int, QString> boxes; // a state's style box, once for all the items it serves
    for (const ButtonItem &row : kButtonStyles) {
        const GodotButtonStyle *style = find(input.buttons, row.state);
        if (!style || row.name.in(version).isEmpty())
            continue;
        if (!boxes.contains(int(row.state)))
            boxes.insert(int(row.state), buttonStyle(writer, input, *style, version, ratio));
        writer.item(u"Button", u"styles", row.name.in(version), boxes.value(int(row.state)));
    }
    for (const ButtonItem &row : kButtonColours) {
        const GodotButtonStyle *style = find(input.buttons, row.state);
        if (style && !row.name.in(version).isEmpty())
            writer.item(u"Button", u"colors", row.name.in(version), colour(style->caption, version));
    }
    const QString empty = writer.sub(u"StyleBoxEmpty"_s, {});
    for (const Names &name : kCheckStyles)
        writer.item(u"CheckBox", u"styles", name.in(version), empty);
    for (const CheckColour &row : kCheckColours) {
        if (!row.name.in(version).isEmpty())
            writer.item(u"CheckBox", u"colors", row.name.in(version),
                colour(row.disabled ? input.checkCaptionDisabled : input.checkCaption, version));
    }
    for (const ButtonItem &row : kCheckIcons) {
        const GodotIcon *icon = find(input.checks, row.state);
        if (icon && !row.name.in(version).isEmpty())
            writer.item(u"CheckBox", u"icons", row.name.in(version),
                writer.external(pictures::WebNames::scaled(icon->picture, ratio)));
    }
    return writer.text();
}

QString importSettings()
{
    // The editor fills in the rest on import and keeps what it finds here.
    return u"[remap]\n\nimporter=\"texture\"\n\n[params]\n\nprocess/fix_alpha_border=false\n"_s;
}

QString readme(const GodotThemeInput &input, const QList<qreal> &ratios)
{
    QString text = u"# Godot button kit: "_s + input.skinName
        + u"\n\n"
          "theme-godot3.tres is a Theme for Godot 3 (3.2 and later), theme-godot4.tres the same for\n"
          "Godot 4. Each styles Button (normal, hover, pressed, a pressed toggle button, disabled, and\n"
          "the focus drawn over them) from the pictures in kit/, with the skin's caption colours, and\n"
          "CheckBox's icons. Copy this folder into the project as it is: the themes name their\n"
          "pictures relative to themselves. Then set the theme on the root Control of a scene (the\n"
          "Inspector's Theme property), or for the whole project in Project Settings, GUI > Theme >\n"
          "Custom.\n\n"
          "Keep each picture's .import file with it: it turns off the importer's Fix Alpha Border,\n"
          "which would recolour the faint pixels of shadows and rings.\n\n"
          "Push buttons are "_s
        + QString::number(input.height)
        + u" px high: the theme has no height of its own, so give each Button\n"
          "that minimum size (rect_min_size in Godot 3, custom_minimum_size in Godot 4). At that height\n"
          "and any width from "_s
        + QString::number(input.slice.minWidth)
        + u" px the Button's rect shows the skin's picture of the same button pixel for\n"
          "pixel, its shadow and margin included: the theme has no expand margins. The caption is\n"
          "centred where the skin puts it; the font is the project's.\n\n"
          "## Godot 3 and Godot 4\n\n"
          "The two files hold the same styles under each version's names:\n\n"
          "| Godot 3 | Godot 4 |\n"
          "|---|---|\n"
          "| format=2, Texture | format=3, Texture2D |\n"
          "| margin_left, margin_right | texture_margin_left, texture_margin_right |\n"
          "| font_color_hover, font_color_pressed, font_color_disabled | font_hover_color, "
          "font_pressed_color, "
          "font_disabled_color |\n"
          "| (none) | font_focus_color, font_hover_pressed_color, styles/hover_pressed |\n"
          "| CheckBox icons checked, unchecked | also checked_disabled, unchecked_disabled |\n"
          "| focus over kit/button-focus-over-hover.png | focus over kit/button-focus.png |\n\n"
          "Godot 3 shows a button with the focus as hovered, so its focus picture lies over the hover\n"
          "one; Godot 4's over the normal one. Each holds only what the focus changes.\n\n"
          "The middle of each picture is tiled from the left cap on (axis_stretch_horizontal = tile).\n"
          "Godot 3's GLES2 renderer does not tile a style box: it stretches the middle, which is right\n"
          "only for a middle one pixel wide and with the pictures imported without Filter. Use GLES3 in\n"
          "Godot 3, or any renderer of Godot 4.\n"_s;
    if (ratios.contains(2))
        text += u"\n## High-DPI screens\n\n"
                "theme-godot3@2x.tres and theme-godot4@2x.tres are the same themes drawn at twice the\n"
                "size, from the @2x pictures: every margin is doubled and buttons are "_s
            + QString::number(2 * input.height)
            + u" px high. They are for\n"
              "a project laid out in device pixels on a screen of ratio 2: Display > Window > Stretch >\n"
              "Mode disabled, with Allow Hidpi on in Godot 3 (display/window/dpi/allow_hidpi), its\n"
              "controls sized for that screen. A project that keeps a 1x layout and lets Godot scale\n"
              "it (Stretch Mode 2d in Godot 3, canvas_items in Godot 4) takes the 1x theme: Godot\n"
              "enlarges its pictures, smoothly when they are imported with Filter on.\n"_s;
    if (!input.inexactNote.isEmpty())
        text += u"\n"_s + input.inexactNote + u".\n"_s;
    return text;
}

} // namespace quillet::kit::godottheme
