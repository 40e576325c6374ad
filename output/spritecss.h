#pragma once

#include <QSize>
#include <QString>

namespace quillet::output {

// The style sheet of one sprite button: the sheet holds the states top to bottom as
// normal, hot, pressed, disabled, each buttonSize high; the rules move the background
// to the state's band.
class SpriteCss
{
public:
    struct Sheet
    {
        QString className;
        QString sheetFile; // the 1x sheet, a name in the same folder as the style sheet
        QString sheet2xFile; // empty when no 2x sheet is written
        QSize buttonSize; // logical pixels
    };

    static QString text(const Sheet &sheet);
    // A file name as a quoted CSS url(): percent-encoded, so "#", "?", quotes and spaces in
    // a caption cannot change which file it names.
    static QString url(const QString &fileName);
};

} // namespace quillet::output
