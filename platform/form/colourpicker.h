#pragma once

#include <QColor>
#include <QWidget>

namespace quillet::form {

class Dialogs;

// A swatch that shows a colour; a click lets the user pick another.
class ColourPicker : public QWidget
{
    Q_OBJECT

public:
    explicit ColourPicker(QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    // Set by the program: shown, but not announced as the user's choice.
    void setColour(const QColor &colour);
    // Without dialogs the picker shows its colour and cannot be changed by a click.
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }

Q_SIGNALS:
    // Only a colour the user picked.
    void colourPicked(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void pick();

    QColor m_colour;
    Dialogs *m_dialogs = nullptr;
};

} // namespace quillet::form
