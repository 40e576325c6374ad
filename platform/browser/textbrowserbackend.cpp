#include "platform/browser/textbrowserbackend.h"

#include "platform/browser/browserpanel.h"

namespace quillet::browser {

TextBrowserBackend::TextBrowserBackend()
{
    m_view.setOpenExternalLinks(true);
    m_view.setFrameShape(QFrame::NoFrame);
}

void TextBrowserBackend::navigate(const QString &address)
{
    const QUrl url = BrowserPanel::urlFor(address);
    if (url.isLocalFile()) {
        m_view.setSource(url);
    } else {
        // QTextBrowser cannot fetch from the web: say where the page is instead.
        m_view.setHtml(QStringLiteral("<p><a href=\"%1\">%1</a></p>").arg(url.toString().toHtmlEscaped()));
    }
}

} // namespace quillet::browser
