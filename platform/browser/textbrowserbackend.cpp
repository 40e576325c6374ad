#include "platform/browser/textbrowserbackend.h"

#include "platform/browser/browserpanel.h"

namespace quillet::browser {

TextBrowserBackend::TextBrowserBackend()
{
    m_view.setOpenExternalLinks(true);
    m_view.setFrameShape(QFrame::NoFrame);
    m_view.document()->setDefaultStyleSheet(styleSheet());
}

void TextBrowserBackend::navigate(const QString &address)
{
    const QUrl url = BrowserPanel::urlFor(address);
    bool shown = false;
    if (url.isLocalFile()) {
        m_view.setSource(url);
        shown = !m_view.document()->isEmpty();
    } else {
        // QTextBrowser cannot fetch from the web: say where the page is instead.
        m_view.setHtml(QStringLiteral("<p><a href=\"%1\">%1</a></p>").arg(url.toString().toHtmlEscaped()));
    }
    if (m_loaded)
        m_loaded(shown);
}

QString TextBrowserBackend::styleSheet()
{
    // The page's own sheet is read as well; these rules stand in for what the text
    // engine ignores there: unitless line heights, paddings and block borders.
    return QStringLiteral("body { line-height: 155%; }"
                          "h1, h2 { line-height: 120%; }"
                          "ul { margin-left: 0px; -qt-list-indent: 1; }"
                          ".tip { margin-left: 0px; }");
}

} // namespace quillet::browser
