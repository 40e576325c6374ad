// quillet-docs man|completion FILE: the build's writer of the manual page and the bash
// completion, both made from the subcommands' own tables.
#include "batch/bashcompletion.h"
#include "batch/batchmain.h"
#include "batch/manualpage.h"

#include <QSaveFile>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    namespace batch = quillet::batch;
    const bool man = argc == 3 && std::strcmp(argv[1], "man") == 0;
    if (argc != 3 || (!man && std::strcmp(argv[1], "completion") != 0)) {
        std::fputs("usage: quillet-docs man|completion FILE\n", stderr);
        return batch::BadInput;
    }
    const QString text = man
        ? batch::ManualPage::text(batch::BatchMain::subcommands(), batch::BatchMain::programNotes())
        : batch::BashCompletion::script(batch::BatchMain::subcommands());
    QSaveFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        std::fprintf(stderr, "quillet-docs: cannot write %s: %s\n", argv[2], qPrintable(file.errorString()));
        return batch::WriteFailed;
    }
    return batch::Success;
}
