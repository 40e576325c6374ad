#include "platform/browser/textbrowserbackend.h"

#include "platform/browser/browserpanel.h"

#include <QTextBlock>
#include <QTextCursor>

namespace quillet::browser {

TextBrowserBackend::TextBrowserBackend()
{
    m_view.setOpenExternalLinks(true);
    m_view.setFrameShape(QFrame::NoFrame);
    m_view.document()->setDefaultStyleSheet(styleSheet());
    // The local page's list indent and body margin, which the text engine takes from no sheet.
    m_view.document()->setIndentWidth(18);
    m_view.document()->setDocumentMargin(11);
}

void TextBrowserBackend::sizeHeadings()
{
    // The text engine sizes headings by level, 1.2 times per step, and takes no font-size
    // for them from a sheet: the steps nearest to the local page's 17 px h1 and 14 px h2
    // over its 13 px text.
    static constexpr int kSteps[] = {1, 0, 0, 0, 0, 0};
    for (QTextBlock block = m_view.document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 6)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setProperty(QTextFormat::FontSizeAdjustment, kSteps[level - 1]);
        cursor.mergeCharFormat(format);
    }
}

void TextBrowserBackend::navigate(const QString &address)
{
    const QUrl url = BrowserPanel::urlFor(address);
    bool shown = false;
    if (url.isLocalFile()) {
        m_view.setSource(url);
        sizeHeadings();
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
    // The page's own sheet is read as well; these rules stand in for what the text engine
    // reads differently there (unitless line heights, the background shorthand), and match
    // the web engine's rendering of the page, which has no bold face for its font.
    return QStringLiteral("body { line-height: 20px; }"
                          "h1 { font-weight: normal; line-height: 22px; margin-top: 0px; margin-bottom: 8px; }"
                          "h2 { font-weight: normal; line-height: 20px; margin-top: 14px; margin-bottom: 4px; }"
                          "b { font-weight: normal; }"
                          "li { margin-top: 3px; margin-bottom: 3px; }"
                          ".tip { background-color: #eef5fc; }");
}

} // namespace quillet::browser
