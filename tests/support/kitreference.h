#pragma once

#include <QFont>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <span>

// What a kit is held to: the renderer's blank push button (caption " ") at a few widths,
// and the check box in every state, as `quillet render --manifest` writes them.
namespace kitreference {

inline constexpr int kWidths[] = { 40, 104, 151, 217, 300 };
// At 1.5x the renderer draws even widths only; the odd ones' neighbours.
inline constexpr int kEvenWidths[] = { 40, 104, 152, 216, 300 };
inline constexpr int kHeight = 24;

// The caption font the kit suites draw with, as the command reads "宋体 9".
inline QFont font()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    return font;
}

// Run with --transparent --focus --name {control}/{width}/{state}. The check box (13 pixels)
// has no 1.5x picture: halfScale leaves it out and takes the even widths.
inline QJsonArray manifest(const QString &skin, bool halfScale = false)
{
    QJsonArray entries;
    for (int width : halfScale ? std::span<const int>(kEvenWidths) : std::span<const int>(kWidths)) {
        const bool check = width == kWidths[0] && !halfScale;
        QJsonObject entry { { QStringLiteral("skin"), skin }, { QStringLiteral("text"), QStringLiteral(" ") },
            { QStringLiteral("width"), width }, { QStringLiteral("height"), kHeight },
            { QStringLiteral("controls"),
                check ? QStringLiteral("button,check") : QStringLiteral("button") } };
        if (check)
            entry[QStringLiteral("check-states")] = true;
        entries.append(entry);
    }
    return entries;
}

} // namespace kitreference
