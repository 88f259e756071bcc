// placeholder
#include <QTest>
class SoilTypeDialogsTest : public QObject { Q_OBJECT };
QTEST_MAIN(SoilTypeDialogsTest)
#include "soil_type_dialogs_test.moc"
