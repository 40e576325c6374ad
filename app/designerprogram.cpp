#include "app/designerprogram.h"

#include "app/lifecycle.h"
#include "catalogue/programpaths.h"
#include "catalogue/skinswitcher.h"
#include "integration/infopanel.h"
#include "integration/pagethread.h"
#include "output/exporter.h"
#include "render/accentedskin.h"
#include "render/samplegeometry.h"
#include "render/samplepreview.h"
#include "skin/skinengine.h"
#include "ui/aboutwindow.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"
#include "ui/eventmap.h"
#include "ui/iconmenu.h"
#include "ui/saveoptionsmenu.h"

#include <QAction>

namespace quillet::app {

DesignerProgram::DesignerProgram(const Services &services)
    : m_services(services)
    , m_window(std::make_unique<ui::DesignerWindow>())
    , m_engine(std::make_unique<skin::SkinEngine>())
    , m_skins(std::make_unique<catalogue::SkinSwitcher>(m_state, *m_engine))
    , m_geometry(std::make_unique<render::SampleGeometry>(m_state, *m_window))
    , m_preview(std::make_unique<render::SamplePreview>(m_state, *m_window))
    , m_controls(std::make_unique<ui::DesignerControls>(
          m_state, *m_window, services.dialogs, *m_geometry, *m_preview, *m_skins, services.language))
    , m_exporter(std::make_unique<output::Exporter>(
          m_state, *m_window, services.dialogs, *m_preview, [this] { return m_services.desktopFolder; }))
    , m_infoPanel(std::make_unique<integration::InfoPanel>(*m_window, services.network))
    , m_pageThread(std::make_unique<integration::PageThread>(m_window->browserPanel(), m_window->infoTimer()))
    , m_lifecycle(std::make_unique<Lifecycle>(Lifecycle::Parts {
          m_state, m_exporter->state(), *m_window, *m_engine, *m_controls, *m_pageThread }))
{
    m_window->colourPicker()->setDialogs(&services.dialogs);
    // Every skin the window shows is in the chosen accent, so the preview and the export agree.
    m_engine->setFilter(
        [this](const skin::Skin &skin) { return render::accent::accented(skin, m_state.accent, nullptr); });
    m_saveOptions = new ui::SaveOptionsMenu(m_window->saveButton(), m_state.webOptions, m_state.accent);
    QObject::connect(m_saveOptions->accentAction(), &QAction::triggered, m_window.get(), [this] {
        m_controls->chooseAccent();
        m_saveOptions->showOptions();
    });
    QObject::connect(m_saveOptions->noAccentAction(), &QAction::triggered, m_window.get(), [this] {
        m_controls->clearAccent();
        m_saveOptions->showOptions();
    });
    for (const ui::SaveOptionsMenu::KitEntry &entry : ui::SaveOptionsMenu::kKitEntries) {
        const QString target = entry.target.toString();
        QObject::connect(m_saveOptions->kitAction(entry.target), &QAction::triggered, m_window.get(),
            [this, target] { m_exporter->exportKit(target); });
    }
    m_iconMenu
        = new ui::IconMenu(m_window->captionBox(), m_window->sampleButton(), m_state.icon, services.dialogs);
    m_eventMap = std::make_unique<ui::EventMap>(ui::EventMap::Handlers { *m_window, *m_controls, *m_geometry,
        *m_preview, [this] { windDown(); }, [this] { m_exporter->exportImages(); }, [this] { openAbout(); },
        [this] {
            m_infoPanel->onHelp(
                catalogue::ProgramPaths::localPage(m_state.programFolder, m_services.language));
        },
        [this] { m_infoPanel->onTick(); } });
    QObject::connect(&m_skins->watcher(), &catalogue::SkinWatcher::skinChanged, m_window.get(),
        [this] { m_controls->reloadSkin(); });
    QObject::connect(&m_skins->watcher(), &catalogue::SkinWatcher::skinListChanged, m_window.get(),
        [this] { m_controls->refreshSkinList(); });
}

DesignerProgram::~DesignerProgram()
{
    // The page thread must find no targets once the window is gone.
    m_pageThread.reset();
    m_eventMap.reset();
    m_window.reset();
}

void DesignerProgram::start()
{
    m_lifecycle->onCreated(m_services.programFolder, m_services.language);
    m_saveOptions->showOptions();
    m_iconMenu->showIcon();
    m_window->setOuterSize({ ui::DesignerWindow::kLayoutWidth, ui::DesignerWindow::kLayoutHeight });
    m_window->show();
}

void DesignerProgram::releaseAtExit()
{
    m_state.releaseAtExit();
    m_exporter->state().releaseAtExit();
}

void DesignerProgram::openAbout()
{
    ui::AboutWindow about(m_state.backgroundColour, m_window.get());
    about.exec();
}

void DesignerProgram::windDown()
{
    m_lifecycle->onAboutToBeDestroyed(m_services.desktopFolder, m_services.executableName);
}

} // namespace quillet::app
