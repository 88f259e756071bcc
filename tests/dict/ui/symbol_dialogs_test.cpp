// placeholder
#include <QTest>
class SymbolDialogsTest : public QObject { Q_OBJECT };
QTEST_MAIN(SymbolDialogsTest)
#include "symbol_dialogs_test.moc"
