#include "kit/webtarget.h"

#include "kit/kitcss.h"
#include "kit/kitpage.h"
#include "kit/tokenfile.h"
#include "kit/webfiles.h"
#include "pictures/picturebytes.h"

using namespace Qt::StringLiterals;

namespace quillet::kit {

namespace {

namespace PictureBytes = pictures::PictureBytes;
using pictures::PictureFormat;

struct Output
{
    QString name; // relative to the kit's folder
    QByteArray bytes;
};

QList<PictureFormat> formatsOf(const Model &model)
{
    return model.request().webp ? QList<PictureFormat> { PictureFormat::Png, PictureFormat::Webp }
                                : QList<PictureFormat> { PictureFormat::Png };
}

// The pieces as kit.css lays them: each cap with its backing under the middle.
KitSheetSkin backed(KitSheetSkin drawn)
{
    for (KitPieces &pieces : drawn.pieces) {
        if (!pieces.middle.isNull())
            pieces = kitpieces::backed(pieces);
    }
    return drawn;
}

// One sheet per density and format, every scheme's pieces on it.
QList<Output> sheets(const Model &model)
{
    QList<Output> files;
    for (qsizetype r = 0; r < model.ratios().size(); ++r) {
        QList<KitSheetSkin> atRatio;
        for (const Scheme &scheme : model.schemes())
            atRatio.append(backed(scheme.byRatio[r]));
        const QImage sheet = kitsheet::draw(model.sheet(), atRatio, model.ratios()[r]);
        for (PictureFormat format : formatsOf(model))
            files.append({ webfiles::sheetName(model.ratios()[r], format),
                PictureBytes::transparent(sheet, format, model.light().base) });
    }
    return files;
}

// One file per piece, as kit.css names them.
void addPieces(const Model &model, const Scheme &scheme, bool dark, QList<Output> &files)
{
    const QList<PictureFormat> formats = formatsOf(model);
    for (const StateRow &row : model.buttonStates()) {
        for (qsizetype r = 0; r < model.ratios().size(); ++r) {
            const KitPieces pieces = kitpieces::backed(scheme.byRatio[r].pieces[size_t(row.cascade)]);
            const QImage parts[] = { pieces.left, pieces.middle, pieces.right };
            for (size_t part = 0; part < std::size(parts); ++part) {
                for (PictureFormat format : formats)
                    files.append({ webfiles::pieceName(
                                       dark, row.word, webfiles::kParts[part], model.ratios()[r], format),
                        PictureBytes::transparent(parts[part], format, scheme.base) });
            }
        }
    }
    for (const StateRow &row : kitpieces::kCheckRows) {
        for (qsizetype r = 0; r < model.ratios().size(); ++r) {
            if (scheme.byRatio[r].checks[size_t(row.cascade)].isNull())
                continue;
            for (PictureFormat format : formats)
                files.append({ webfiles::checkName(dark, row.word, model.ratios()[r], format),
                    PictureBytes::transparent(
                        scheme.byRatio[r].checks[size_t(row.cascade)], format, scheme.base) });
        }
    }
}

QList<Output> pictureFiles(const Model &model)
{
    if (model.layout() == Layout::Sheet)
        return sheets(model);
    QList<Output> files;
    for (qsizetype i = 0; i < model.schemes().size(); ++i)
        addPieces(model, model.schemes()[i], i > 0, files);
    return files;
}

} // namespace

QStringView WebTarget::name() const
{
    return u"web";
}

QStringView WebTarget::summary() const
{
    return u"kit.css, kit.html and kit.tokens.json for web pages, pictures in kit/";
}

bool WebTarget::honours(Feature) const
{
    return true;
}

QList<qreal> WebTarget::defaultRatios(const Request &request) const
{
    if (request.height % 2)
        return QList<qreal>(std::begin(kOddHeightRatios), std::end(kOddHeightRatios));
    return QList<qreal>(std::begin(kRatios), std::end(kRatios));
}

QList<pictures::PlannedFile> WebTarget::files(const Model &model, Problem *problem) const
{
    QList<Output> files = pictureFiles(model);
    for (const Output &file : std::as_const(files)) {
        if (file.bytes.isEmpty()) {
            if (problem)
                *problem = { QStringLiteral("cannot draw \"") + file.name + u'"', false };
            return {};
        }
    }
    kitcss::Inlined inlined;
    if (model.layout() == Layout::Inline) {
        for (const Output &file : std::as_const(files))
            inlined.insert(file.name, file.bytes);
        files.clear();
    }
    const QByteArray css = kitcss::text(model, inlined).toUtf8();
    if (model.layout() == Layout::Inline && css.size() > kInlineLimit) {
        if (problem)
            *problem
                = { u"--inline: kit.css would take %1 KiB, over the %2 KiB an in-line kit may "
                    "take (leave out --inline, or ask for fewer densities)"_s.arg((css.size() + 1023) / 1024)
                          .arg(kInlineLimit / 1024),
                      true };
        return {};
    }
    const QString cssFile = webfiles::kStyleSheet.toString();
    files.append({ webfiles::kTokens.toString(), tokenfile::json(model) });
    files.append({ cssFile, css });
    files.append({ webfiles::kPage.toString(), kitpage::html(model, cssFile).toUtf8() });
    QList<pictures::PlannedFile> planned;
    for (const Output &file : std::as_const(files))
        planned.append(pictures::PlannedFile::ofBytes(file.name, file.bytes));
    return planned;
}

} // namespace quillet::kit
