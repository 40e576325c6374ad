// The manual page and the bash completion the build writes, held against what the built
// program's --help says: every subcommand, and every option with its value and its help.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QString kProgram = QStringLiteral(QUILLET_BINARY_DIR "/bin/quillet");
const QString kManual = QStringLiteral(QUILLET_BINARY_DIR "/packaging/quillet.1");
const QString kCompletion = QStringLiteral(QUILLET_BINARY_DIR "/packaging/quillet.bash");

// One option row of a --help text: "--skin NAME" or "FILE...", and its help on one line.
struct Option
{
    QString left;
    QString help;
};

QString output(const QString &program, const QStringList &arguments,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return u"failed: "_s + program + u' ' + arguments.join(u' ') + u'\n'
            + QString::fromUtf8(process.readAllStandardError());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString help(const QString &path)
{
    return output(kProgram, path.split(u' ') + QStringList { u"--help"_s });
}

// The commands the program's usage names, then the verbs each command's usage shows.
QStringList commandPaths()
{
    QStringList paths;
    static const QRegularExpression command(
        u"^(?:Usage:)?\\s*quillet ([a-z]+)\\s"_s, QRegularExpression::MultilineOption);
    for (const auto &match : command.globalMatch(output(kProgram, { u"--help"_s }))) {
        const QString name = match.captured(1);
        paths.append(name);
        const QRegularExpression verb(
            u"^(?:Usage:)?\\s*quillet "_s + name + u" ([a-z]+)\\s"_s, QRegularExpression::MultilineOption);
        for (const auto &form : verb.globalMatch(help(name))) {
            if (!paths.contains(name + u' ' + form.captured(1)))
                paths.append(name + u' ' + form.captured(1));
        }
    }
    return paths;
}

QList<Option> options(const QString &usage)
{
    static const QRegularExpression row(
        u"^  (--[a-z0-9-]+(?: \\S(?:.*?\\S)?)?|[A-Z][A-Za-z0-9.]*)  +(\\S.*)$"_s);
    const QString continuation(24, u' ');
    QList<Option> rows;
    for (const QString &line : usage.split(u'\n')) {
        if (line.startsWith(continuation) && !rows.isEmpty()) {
            rows.last().help += u' ' + line.trimmed();
            continue;
        }
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            rows.append({ match.captured(1), match.captured(2) });
    }
    return rows;
}

// As one line, with the dashes and quotes a terminal may get from troff made plain.
QString plain(QString text)
{
    for (const char16_t dash : { u'\u2010', u'\u2011', u'\u2212' })
        text.replace(QChar(dash), u'-');
    return text.replace(QChar(u'\u2019'), u'\'').simplified();
}

// The manual page as man shows it, by section title.
QHash<QString, QString> manualSections()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"MANWIDTH"_s, u"200"_s);
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
    const QString page = output(u"man"_s, { u"-l"_s, u"-P"_s, u"cat"_s, kManual }, environment);
    QHash<QString, QString> sections;
    QString title;
    for (const QString &line : page.split(u'\n')) {
        if (!line.isEmpty() && !line.front().isSpace())
            title = line.trimmed();
        else
            sections[title] += line + u'\n';
    }
    for (QString &text : sections)
        text = plain(text);
    return sections;
}

// What the completion offers for the words typed so far (the last one is being typed).
QStringList complete(const QStringList &words)
{
    const QString script = u"source \"$0\"; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); _quillet; "
                           u"[ ${#COMPREPLY[@]} -gt 0 ] && printf '%s\\n' \"${COMPREPLY[@]}\"; true"_s;
    QStringList arguments { u"-c"_s, script, kCompletion, kProgram };
    const QString replies = output(u"bash"_s, arguments + words.mid(1));
    QStringList list = replies.split(u'\n', Qt::SkipEmptyParts);
    list.sort();
    return list;
}

} // namespace

class TestCommandDocs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(kManual));
        QVERIFY(QFile::exists(kCompletion));
        QVERIFY(QDir(m_dir.path()).mkdir(u"sub"_s));
        QFile file(m_dir.filePath(u"sfile"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    void everyCommandIsListed()
    {
        // The rows below come from the program's usage: it must name its commands.
        const QStringList paths = commandPaths();
        for (const char *path : { "render", "kit", "skin", "skin check", "skin import" })
            QVERIFY2(paths.contains(QLatin1String(path)), qPrintable(paths.join(u", ")));
    }

    void manualShowsEveryOption_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString &path : commandPaths())
            QTest::newRow(qPrintable(path)) << path;
    }
    void manualShowsEveryOption()
    {
        QFETCH(QString, path);
        const QHash<QString, QString> sections = manualSections();
        const QString title = u"QUILLET "_s + path.toUpper();
        QVERIFY2(sections.contains(title), qPrintable(sections.keys().join(u", ")));
        const QList<Option> rows = options(help(path));
        QVERIFY(!rows.isEmpty());
        for (const Option &option : rows) {
            const QString shown = plain(option.left + u' ' + option.help);
            QVERIFY2(sections.value(title).contains(shown), qPrintable(title + u": "_s + shown));
        }
        QVERIFY2(sections.value(u"SYNOPSIS"_s).contains(u"quillet "_s + path), qPrintable(path));
    }

    void completionOffersEveryOption_data() { manualShowsEveryOption_data(); }
    void completionOffersEveryOption()
    {
        QFETCH(QString, path);
        const QStringList words = QStringList { u"quillet"_s } + path.split(u' ');
        for (const Option &option : options(help(path))) {
            const QString name = option.left.section(u' ', 0, 0);
            if (!name.startsWith(u"--"))
                continue;
            QVERIFY2(complete(words + QStringList { name }).contains(name), qPrintable(path + u' ' + name));
        }
    }

    void completes_data()
    {
        QTest::addColumn<QString>("typed"); // "|" between words; "@" is a folder with sub/ and sfile
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("a subcommand") << u"quillet|ren"_s << QStringList { u"render"_s };
        QTest::newRow("an option") << u"quillet|render|--sk"_s << QStringList { u"--skin"_s };
        QTest::newRow("the verbs") << u"quillet|skin|"_s
                                   << QStringList { u"--help"_s, u"check"_s, u"import"_s };
        QTest::newRow("a verb's options")
            << u"quillet|skin|import|--fo"_s << QStringList { u"--focus"_s, u"--force"_s };
        QTest::newRow("no option of another command") << u"quillet|kit|--spr"_s << QStringList {};
        QTest::newRow("a caption is free text") << u"quillet|render|--text|"_s << QStringList {};
        QTest::newRow("skin names from the program")
            << u"quillet|kit|--dark-skin|Aq"_s << QStringList { u"Aqua"_s, u"Aqua\\ Glass"_s };
        QTest::newRow("a skin after =") << u"quillet|render|--skin|=|翡"_s << QStringList { u"翡翠"_s };
        QTest::newRow("folders only for --out")
            << u"quillet|render|--out|@/s"_s << QStringList { u"@/sub"_s };
        QTest::newRow("files for a verb's argument")
            << u"quillet|skin|check|@/s"_s << QStringList { u"@/sfile"_s, u"@/sub"_s };
        QTest::newRow("files for a nine-patch option")
            << u"quillet|skin|import|--hot|@/sf"_s << QStringList { u"@/sfile"_s };
    }
    void completes()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, offered);
        const QString folder = m_dir.path();
        QStringList words = typed.replace(u'@', folder).split(u'|');
        for (QString &word : offered)
            word.replace(u'@', folder);
        QCOMPARE(complete(words), offered);
    }
};

QTEST_MAIN(TestCommandDocs)
#include "tst_commanddocs.moc"
