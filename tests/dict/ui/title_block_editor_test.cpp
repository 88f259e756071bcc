// placeholder
#include <QTest>
class TitleBlockEditorTest : public QObject { Q_OBJECT };
QTEST_MAIN(TitleBlockEditorTest)
#include "title_block_editor_test.moc"
