#pragma once

#include "app/designerprogram.h"
#include "platform/form/intervaltimer.h"
#include "ui/designerwindow.h"

#include "support/fakedialogs.h"
#include "support/fakenetworkprobe.h"
#include "support/programfolder.h"

#include <QTest>

#include <memory>

// One designer run with answering fakes for its dialogs and network, in a throw-away
// program folder (or one the test prepared). Started runs have their preview timer
// stopped, so nothing repaints the canvases behind the test's back.
class DesignerRun
{
public:
    enum class Start { Now, Later };

    // The fakes answer the dialogs unless the test brings its own (the real ones).
    explicit DesignerRun(const QStringList &skins = { QStringLiteral("经典.an") }, Start start = Start::Now,
        quillet::form::Dialogs *ownDialogs = nullptr,
        quillet::system::Language language = quillet::system::Language::Chinese)
        : m_ownFolder(std::make_unique<ProgramFolder>(skins))
        , m_folder(*m_ownFolder)
        , program({ ownDialogs ? *ownDialogs : dialogs, network, m_folder.path(), m_folder.desktop() + u'/',
              QStringLiteral("quillet"), language })
    {
        if (start == Start::Now)
            this->start();
    }
    // In a folder the test prepared; the created handler has not run yet.
    explicit DesignerRun(ProgramFolder &folder)
        : m_folder(folder)
        , program({ dialogs, network, m_folder.path(), m_folder.desktop() + u'/', QStringLiteral("quillet") })
    {
    }

    void start()
    {
        program.start();
        program.window().previewTimer()->setInterval(0);
    }

    ProgramFolder &folder() { return m_folder; }
    quillet::ui::DesignerWindow &window() { return program.window(); }
    // The window's controls by their layout names, as the window description gives them.
    Ui::DesignerWindow &ui() { return program.window().controls(); }
    static Ui::DesignerWindow &layoutOf(quillet::ui::DesignerWindow &window) { return window.controls(); }
    // The confirm button's click: one full preview composition.
    void compose() { QTest::mouseClick(program.window().confirmButton(), Qt::LeftButton); }

private:
    std::unique_ptr<ProgramFolder> m_ownFolder;
    ProgramFolder &m_folder;

public:
    FakeDialogs dialogs;
    FakeNetworkProbe network;
    quillet::app::DesignerProgram program;
};
