#include "app/lifecycle.h"

#include "catalogue/programpaths.h"
#include "catalogue/settingsfile.h"
#include "catalogue/settingslocation.h"
#include "catalogue/skincatalogue.h"
#include "catalogue/webexportsettings.h"
#include "integration/desktoplauncher.h"
#include "integration/pagethread.h"
#include "model/appstate.h"
#include "model/metrics.h"
#include "output/exportstate.h"
#include "platform/form/formruntime.h"
#include "platform/form/intervaltimer.h"
#include "platform/form/numbertext.h"
#include "skin/skinengine.h"
#include "ui/designercontrols.h"
#include "ui/designerwindow.h"

namespace quillet::app {

using catalogue::ProgramPaths;
using catalogue::SettingsFile;
using catalogue::SettingsLocation;

Lifecycle::Lifecycle(const Parts &parts)
    : m_parts(parts)
{
}

void Lifecycle::onCreated(const QString &programFolder, system::Language language)
{
    model::AppState &state = m_parts.state;
    ui::DesignerWindow &window = m_parts.window;

    state.programFolder = programFolder;
    const QString settings = SettingsLocation::readPath(state.programFolder);
    state.currentSkinIndex = SettingsFile::readSkinIndex(settings);
    state.accent = SettingsFile::readAccent(settings);
    state.webOptions = catalogue::WebExportSettings::read(settings);
    state.icon = catalogue::WebExportSettings::readIcon(settings);
    catalogue::SkinCatalogue::fill(ProgramPaths::skinsFolder(state.programFolder), state.skinFiles,
        window.skinList(), &form::FormRuntime::processEvents);
    m_parts.controls.applyCurrentSkin();
    form::FormRuntime::setCurrentItemIndex(window.skinList(), state.currentSkinIndex - 1);
    window.previewTimer()->setInterval(model::Metrics::kFirstPreviewDelayMs);
    m_parts.controls.showSampleFont();
    state.buttonWidth = window.sampleButton()->width();
    window.widthBox()->setEditText(form::NumberText::toText(state.buttonWidth));
    state.buttonHeight = window.sampleButton()->height();
    window.heightBox()->setEditText(form::NumberText::toText(state.buttonHeight));
    m_parts.exportState.fillExtensionTable();
    m_parts.pageThread.start(ProgramPaths::localPage(state.programFolder, language));
}

void Lifecycle::onAboutToBeDestroyed(const QString &desktopFolder, const QString &executableName)
{
    model::AppState &state = m_parts.state;
    const QString settings = SettingsLocation::writePath(state.programFolder);
    SettingsFile::writeSkinIndex(settings, state.currentSkinIndex);
    SettingsFile::writeAccent(settings, state.accent);
    catalogue::WebExportSettings::write(settings, state.webOptions);
    catalogue::WebExportSettings::writeIcon(settings, state.icon);
    m_parts.engine.release();
    integration::DesktopLauncher::ensureOnDesktop(desktopFolder, state.programFolder, executableName);
}

} // namespace quillet::app
