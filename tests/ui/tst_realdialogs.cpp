// The real standard dialogs, as a user meets them in a C locale: they speak Chinese, the
// confirmation box shows its text as plain text, and the font dialog starts on the font
// that is set now.
#include "app/designerprogram.h"
#include "platform/form/dialoglanguage.h"
#include "platform/form/fontsetup.h"
#include "platform/form/intervaltimer.h"
#include "platform/form/qtdialogs.h"
#include "ui/designerwindow.h"

#include "support/designerrun.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

using quillet::form::QtDialogs;

namespace {

// Runs `inspect` on the modal dialog that `open` shows, then lets `inspect` close it.
// False when no dialog appeared.
bool whileShown(const std::function<void()> &open, const std::function<void(QDialog *)> &inspect)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (seen || !dialog || !dialog->isVisible())
            return;
        seen = true;
        poll.stop();
        inspect(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start();
    open();
    return seen;
}

QString withoutMnemonic(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    return text.remove(u'&');
}

QPushButton *acceptButton(QDialog *dialog)
{
    if (auto *box = qobject_cast<QMessageBox *>(dialog))
        return qobject_cast<QPushButton *>(box->button(QMessageBox::Ok));
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    if (!buttons)
        return nullptr;
    for (QAbstractButton *button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            return qobject_cast<QPushButton *>(button);
    }
    return nullptr;
}

} // namespace

class TestRealDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        quillet::form::FontSetup::install();
        QVERIFY2(QLocale::system().language() != QLocale::Chinese, "run in a C locale to test anything");
        QVERIFY2(quillet::form::DialogLanguage::install(),
            qPrintable(quillet::form::DialogLanguage::catalogueFolder()));
    }

    void dialogsSpeakChinese_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("accept");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("confirmation") << "confirm" << QStringLiteral("确定") << QStringLiteral("取消");
        QTest::newRow("folder") << "folder" << QStringLiteral("选择") << QStringLiteral("取消");
        QTest::newRow("font") << "font" << QStringLiteral("确定") << QStringLiteral("取消");
    }

    void dialogsSpeakChinese()
    {
        QFETCH(QString, dialog);
        QFETCH(QString, accept);
        QFETCH(QString, cancel);
        QtDialogs dialogs;
        QTemporaryDir folder;
        QString accepted;
        QString cancelled;
        QString title;
        const bool seen = whileShown(
            [&] {
                if (dialog == u"confirm")
                    dialogs.confirm(nullptr, QStringLiteral("a.bmp"), QStringLiteral("Quillet"));
                else if (dialog == u"folder")
                    dialogs.chooseFolder(nullptr, folder.path(), QStringLiteral("选择文件夹"));
                else
                    dialogs.chooseFont(nullptr, QFont(QStringLiteral("宋体"), 9), 0);
            },
            [&](QDialog *shown) {
                if (QPushButton *button = acceptButton(shown))
                    accepted = withoutMnemonic(button->text());
                for (QPushButton *button : shown->findChildren<QPushButton *>()) {
                    if (withoutMnemonic(button->text()) == cancel)
                        cancelled = cancel;
                }
                title = shown->windowTitle();
            });
        QVERIFY(seen);
        QCOMPARE(accepted, accept);
        QCOMPARE(cancelled, cancel);
        if (dialog == u"font")
            QCOMPARE(title, QStringLiteral("选择字体"));
    }

    void confirmationShowsPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("tag in a caption") << QStringLiteral("a<b>c1.bmp\na<b>c2.bmp");
        QTest::newRow("entity") << QStringLiteral("&lt;1.bmp\n&amp;");
        QTest::newRow("three-blank gaps and breaks")
            << QStringLiteral("<i>x</i>1.bmp   <i>x</i>2.bmp\n\n   全窗口1.bmp");
    }

    void confirmationShowsPlainText()
    {
        QFETCH(QString, text);
        QtDialogs dialogs;
        QString shownText;
        int shownLines = 0;
        int lineHeight = 0;
        const bool seen = whileShown([&] { dialogs.confirm(nullptr, text, QStringLiteral("Quillet")); },
            [&](QDialog *shown) {
                auto *label = shown->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                if (!label)
                    return;
                // What the label shows, as its own text engine holds it.
                label->setTextInteractionFlags(Qt::TextSelectableByMouse);
                label->setSelection(0, int(text.size()));
                // Paragraphs come back with their separator.
                shownText = label->selectedText().replace(QChar::ParagraphSeparator, u'\n');
                if (label->text() != text)
                    shownText = QStringLiteral("label holds: ") + label->text();
                lineHeight = label->fontMetrics().lineSpacing();
                shownLines = label->sizeHint().height() / lineHeight;
            });
        QVERIFY(seen);
        QCOMPARE(shownText, text);
        QVERIFY(lineHeight > 0);
        QCOMPARE(shownLines, int(text.count(u'\n')) + 1);
    }

    void fontDialogStartsOnTheCurrentFont_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("sample button font") << "按钮6";
        QTest::newRow("combo font size") << "按钮8";
    }

    void fontDialogStartsOnTheCurrentFont()
    {
        QFETCH(QString, button);
        QtDialogs dialogs;
        DesignerRun run({QStringLiteral("经典.an")}, DesignerRun::Start::Now, &dialogs);
        auto &program = run.program;
        auto &ui = run.ui();
        QWidget *sample = button == u"按钮6" ? static_cast<QWidget *>(ui.样本按钮) : ui.组合框1;
        const QFont current = sample->font();
        const QString description = ui.编辑框2->text();
        QFont started;
        const bool seen = whileShown([&] { program.window().findChild<QPushButton *>(button)->click(); },
            [&](QDialog *shown) {
                auto *fontDialog = qobject_cast<QFontDialog *>(shown);
                if (!fontDialog)
                    return;
                started = fontDialog->currentFont();
                fontDialog->accept();
            });
        QVERIFY(seen);
        QCOMPARE(started.family(), QFontInfo(current).family());
        QCOMPARE(started.pointSize(), current.pointSize());
        QVERIFY(!started.bold());
        QVERIFY(!started.italic());
        // Accepting the dialog as it opened changes nothing.
        QCOMPARE(sample->font().family(), current.family());
        QCOMPARE(sample->font().pointSize(), current.pointSize());
        QCOMPARE(ui.编辑框2->text(), description);
    }
};

int main(int argc, char **argv)
{
    // A user whose session has no Chinese locale.
    qputenv("LANG", "C");
    qputenv("LC_ALL", "C");
    qunsetenv("LANGUAGE");
    QApplication application(argc, argv);
    TestRealDialogs test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_realdialogs.moc"
