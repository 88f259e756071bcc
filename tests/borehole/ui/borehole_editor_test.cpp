// placeholder
#include <QTest>
class BoreholeEditorTest : public QObject { Q_OBJECT };
QTEST_MAIN(BoreholeEditorTest)
#include "borehole_editor_test.moc"
