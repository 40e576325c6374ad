#pragma once

#include "output/buttonjob.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace quillet::render {
class ButtonRenderer;
}

namespace quillet::output {

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
        int ratio = 1;
        QString name; // no folder
    };

    // Per group (push button, drop button, check box) and ratio, the state pictures under
    // the designer's names (with "@2x" at ratio 2); then the sprite sheets, style sheet and
    // page when asked for and the push button is among the groups.
    static QList<File> plan(const ButtonJob &job);
    // Empty bytes when the picture cannot be drawn or encoded.
    static QByteArray produce(const File &file, const ButtonJob &job, const render::ButtonRenderer &renderer);
    // produce() in two steps: draw() needs the renderer's thread (the GUI thread); encode()
    // needs nothing but its arguments and may run on any thread. Pages draw nothing.
    static QImage draw(const File &file, const ButtonJob &job, const render::ButtonRenderer &renderer);
    static QByteArray encode(const File &file, const ButtonJob &job, const QImage &drawn);
    // The stem the sprite files share: the push button's group stem.
    static QString spriteStem(const ButtonJob &job);
};

} // namespace quillet::output
