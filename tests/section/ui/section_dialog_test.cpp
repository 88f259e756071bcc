// placeholder
#include <QTest>
class SectionDialogTest : public QObject { Q_OBJECT };
QTEST_MAIN(SectionDialogTest)
#include "section_dialog_test.moc"
