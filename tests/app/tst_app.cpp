#include <QtTest>
#include "app/cdatamanager.h"
class TestApp : public QObject { Q_OBJECT
private slots:
    void startsOnMapTab() { CDataManager w; QCOMPARE(w.tabs()->currentIndex(), 1); }
};
QTEST_MAIN(TestApp)
#include "tst_app.moc"
