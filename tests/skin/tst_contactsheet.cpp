// Paints every shipped skin's samples in all states onto one sheet, at real size and
// enlarged, and writes it as PNG into the folder named by QUILLET_CONTACT_SHEET.
#include "support/samplerig.h"

#include "skin/skinengine.h"

#include <QFileInfo>
#include <QPainter>
#include <QStyleOptionButton>
#include <QtTest>

using namespace quillet::skin;
using namespace quillet::skin::testing;

namespace {

constexpr int kRowHeight = 118;
constexpr int kNameWidth = 120;
constexpr int kGap = 8;
constexpr int kSheetWidth = 1540;
constexpr int kButtonZoom = 2;
constexpr int kDropZoom = 2;
constexpr int kCheckZoom = 4;

QImage zoomed(const QImage &image, int factor)
{
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The push button with the keyboard focus as the style paints it; an offscreen window
// never gets the focus itself.
QImage focusedButton(QPushButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.state |= QStyle::State_HasFocus | QStyle::State_Raised;
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setFont(button.font());
    button.style()->drawControl(QStyle::CE_PushButton, &option, &p, &button);
    return image;
}

} // namespace

class ContactSheetTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sheet();
};

void ContactSheetTest::sheet()
{
    const QStringList skins = shippedSkins();
    QVERIFY(!skins.isEmpty());
    QImage sheet(kSheetWidth, kRowHeight * int(skins.size()), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    SkinEngine engine;
    SampleRig rig;
    int top = 0;
    for (const QString &path : skins) {
        engine.apply(path, &rig.host());
        const QColor base = engine.colour();
        p.fillRect(0, top, kSheetWidth, kRowHeight, base);
        p.fillRect(0, top + kRowHeight - 1, kSheetWidth, 1, Qt::black);
        p.setPen(qGray(base.rgb()) < 110 ? Qt::white : Qt::black);
        p.setFont(sampleFont());
        p.drawText(QRect(6, top, kNameWidth - 6, 32), Qt::AlignVCenter, QFileInfo(path).completeBaseName());

        int x = kNameWidth;
        const int small = top + 6;
        const int large = top + 44;
        int zx = kNameWidth;
        for (const int s : { int(SampleRig::ButtonNormal), int(SampleRig::ButtonPressed),
                 int(SampleRig::ButtonHot), int(SampleRig::ButtonDisabled), -1 }) {
            const QImage b = s < 0 ? focusedButton(rig.button()) : rig.button(SampleRig::ButtonState(s));
            QVERIFY(!b.isNull());
            p.drawImage(x, small, b);
            x += b.width() + kGap;
            p.drawImage(zx, large, zoomed(b, kButtonZoom));
            zx += b.width() * kButtonZoom + kGap;
        }
        for (const auto s : { SampleRig::ComboNormal, SampleRig::ComboPressed, SampleRig::ComboDisabled }) {
            p.drawImage(x, small, rig.combo(s));
            x += kComboWidth + kGap;
        }
        for (const auto s : { SampleRig::ComboNormal, SampleRig::ComboPressed, SampleRig::ComboDisabled }) {
            const QImage d = rig.dropButton(s);
            p.drawImage(x, small, d);
            x += d.width() + kGap;
            p.drawImage(zx, large - 10, zoomed(d, kDropZoom));
            zx += d.width() * kDropZoom + kGap;
        }
        for (const auto s : { SampleRig::CheckNormal, SampleRig::CheckChecked, SampleRig::CheckDisabled }) {
            const QImage c = rig.check(s);
            p.drawImage(x, small, c);
            x += c.width() + kGap;
            p.drawImage(zx, large, zoomed(c, kCheckZoom));
            zx += c.width() * kCheckZoom + kGap;
        }
        top += kRowHeight;
    }
    engine.release();
    p.end();

    const QString folder = qEnvironmentVariable("QUILLET_CONTACT_SHEET");
    if (folder.isEmpty())
        QSKIP("set QUILLET_CONTACT_SHEET to a folder to write the sheet");
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(QStringLiteral("skins.png"));
    QVERIFY2(sheet.save(file), qPrintable(file));
    qInfo("wrote %s", qPrintable(file));
}

QTEST_MAIN(ContactSheetTest)
#include "tst_contactsheet.moc"
