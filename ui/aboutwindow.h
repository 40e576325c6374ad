#pragma once

#include "ui_about_window.h"

#include <QDialog>

namespace quillet::ui {

// The modal About window: the free-software notice and two links to the maker.
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    static const QString kNotice;
    static const QString kMakerSite;
    static const QString kMakerMail;

    // Takes the shared background colour when it is created, and nothing else.
    AboutWindow(const QColor &backgroundColour, QWidget *parent = nullptr);

    Ui::AboutWindow &controls() { return m_ui; }

private:
    Ui::AboutWindow m_ui;
};

} // namespace quillet::ui
