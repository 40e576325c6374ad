#pragma once

#include "pictures/buttonjob.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace quillet::render {
class ButtonRenderer;
}

namespace quillet::pictures {

// The files of one rendered export: first every name (so that all of them can be checked
// before anything is written), then the bytes of each, one at a time.
class WebExport
{
public:
    enum class Kind { State, Sprite, Css, Html };
    struct File
    {
        Kind kind = Kind::State;
        OutputGroup group = OutputGroup::ButtonStates;
        int indexInGroup = 0;
        qreal ratio = 1;
        QString name; // relative to the output folder: a file name, or folders and a file name
    };

    // Per group (push button, drop button, check box) and ratio, the state pictures under
    // the designer's names or the job's template (with "@2x" at ratio 2, "@1.5x" at 1.5);
    // then the sprite sheets, style sheet and page when asked for and the push button is
    // among the groups. An empty list when the template gives a name that would leave the
    // output folder.
    static QList<File> plan(const ButtonJob &job);
    // Empty bytes when the picture cannot be drawn or encoded.
    static QByteArray produce(const File &file, const ButtonJob &job, const render::ButtonRenderer &renderer);
    // produce() in two steps: draw() needs the renderer's thread (the GUI thread); encode()
    // needs nothing but its arguments and may run on any thread. Pages draw nothing.
    static QImage draw(const File &file, const ButtonJob &job, const render::ButtonRenderer &renderer);
    static QByteArray encode(const File &file, const ButtonJob &job, const QImage &drawn);
    // The stem the sprite files share: the push button's group stem, or the template's
    // name for the state "sprite".
    static QString spriteStem(const ButtonJob &job);
    static QString spriteSheetName(const ButtonJob &job, qreal ratio);
};

} // namespace quillet::pictures
