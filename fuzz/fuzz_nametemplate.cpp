// A --name template and the captions it is filled with both come from the user; whatever
// they say, an expanded name either is refused or stays inside the output folder.
#include "pictures/nametemplate.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

using quillet::pictures::NameFields;
namespace NameTemplate = quillet::pictures::NameTemplate;

namespace {

bool leavesTheFolder(const QString &path)
{
    if (path.startsWith(u'/') || path.contains(u'\\') || path.contains(QChar(u'\0')))
        return true;
    const QStringList parts = path.split(u'/');
    return std::any_of(parts.begin(), parts.end(),
        [](const QString &part) { return part.isEmpty() || part == u"." || part == u".."; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Template, caption and skin name, split at the first two NUL bytes.
    const QString whole = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList pieces = whole.split(QChar(u'\0'));
    const QString nameTemplate = pieces.value(0);
    NameFields fields;
    fields.text = pieces.value(1);
    fields.skin = pieces.value(2);
    fields.state = QStringLiteral("正常");
    fields.control = QStringLiteral("button");
    fields.width = size > 0 ? data[0] : 0;
    fields.height = -fields.width;

    // Judging a template must hold up against anything too.
    (void)NameTemplate::problem(nameTemplate);
    const QString path = NameTemplate::expand(nameTemplate, fields);
    if (path.isEmpty())
        return 0;
    if (leavesTheFolder(path) || !NameTemplate::isSafeRelativePath(path))
        std::abort();
    return 0;
}
