// Manifests and name templates come from the user's files: reading them must hold up
// against any bytes, and a name a template gives must stay below the output folder.
#include "batch/manifest.h"
#include "pictures/nametemplate.h"

#include <QDir>
#include <QString>

#include <cstdint>
#include <cstdlib>

using quillet::batch::Manifest;
using quillet::batch::RenderEntry;
using namespace quillet::pictures;

namespace {

void checkTemplate(const QString &nameTemplate)
{
    const NameFields fields { QStringLiteral("确定"), QStringLiteral("正常"), QStringLiteral("Aqua"),
        QStringLiteral("button"), 104, 24 };
    const QString name = NameTemplate::expand(nameTemplate, fields);
    if (name.isEmpty())
        return;
    // A name that stays inside: relative, and no part of it climbs.
    if (name.startsWith(u'/') || name.contains(u'\\') || !NameTemplate::isSafeRelativePath(name))
        std::abort();
    const QString cleaned = QDir::cleanPath(QStringLiteral("/out/") + name);
    if (!cleaned.startsWith(QStringLiteral("/out/")))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    RenderEntry defaults;
    const QList<RenderEntry> entries = Manifest::read(bytes, defaults, &error);
    // Either entries or a reason, never both and never neither.
    if (entries.isEmpty() == error.isEmpty())
        std::abort();
    for (const RenderEntry &entry : entries) {
        if (entry.captions.isEmpty() || entry.skin.isEmpty())
            std::abort();
        if (!entry.nameTemplate.isEmpty() && !NameTemplate::problem(entry.nameTemplate).isEmpty())
            std::abort();
    }
    checkTemplate(QString::fromUtf8(bytes));
    return 0;
}
