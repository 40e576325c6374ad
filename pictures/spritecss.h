#pragma once

#include <QList>
#include <QSize>
#include <QString>

namespace quillet::pictures {

// The style sheet of one sprite button: the sheet holds the states top to bottom as
// normal, hot, pressed, disabled, each buttonSize high; the rules move the background
// to the state's band.
class SpriteCss
{
public:
    struct SheetFile
    {
        QString file; // a name in the same folder as the style sheet
        qreal ratio = 1;
    };
    struct Sheet
    {
        QString className;
        // By rising ratio; the first is what browsers without image-set() show.
        QList<SheetFile> files;
        QSize buttonSize; // logical pixels
        // A fifth band, the focused button, under the other four.
        bool focus = false;
    };

    static QString text(const Sheet &sheet);
    // A file name as a quoted CSS url(): percent-encoded, so "#", "?", quotes and spaces in
    // a caption cannot change which file it names.
    static QString url(const QString &fileName);
};

} // namespace quillet::pictures
