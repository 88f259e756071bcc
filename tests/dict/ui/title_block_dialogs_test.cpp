// placeholder
#include <QTest>
class TitleBlockDialogsTest : public QObject { Q_OBJECT };
QTEST_MAIN(TitleBlockDialogsTest)
#include "title_block_dialogs_test.moc"
