#include "batch/kitcommand.h"
#include "platform/form/fontsetup.h"

#include <QtTest>

class TestKitCommand : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { quillet::form::FontSetup::install(); }
};

QTEST_MAIN(TestKitCommand)
#include "tst_kitcommand.moc"
