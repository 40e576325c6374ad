#pragma once

#include "ui_about_window.h"

#include <QDialog>

namespace quillet::form {
class OuterSize;
} // namespace quillet::form

namespace quillet::ui {

// The modal About window: the free-software notice and two links to the maker.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    // Frame and title bar included.
    static constexpr QSize kOuterSize { 270, 192 };

    // The notice in the windows' language.
    static QString notice();
    static const QString kMakerSite;
    static const QString kMakerMail;

    // Takes the shared background colour when it is created, and nothing else.
    AboutWindow(const QColor &backgroundColour, QWidget *parent = nullptr);

    Ui::AboutWindow &controls() { return m_ui; }
    QSize outerSize() const;

private:
    Ui::AboutWindow m_ui;
    form::OuterSize *m_outer;
};

} // namespace quillet::ui
