// A QtTest program as Orvella's Windows tests are: one function that passes and
// one that fails on purpose, so smoke.sh can see both results and exit codes.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

class SmokeTest : public QObject
{
    Q_OBJECT
private slots:
    void passes()
    {
        QLineEdit edit;
        edit.setObjectName(QStringLiteral("name"));
        QTest::keyClicks(&edit, QStringLiteral("abc"));
        QCOMPARE(edit.text(), QStringLiteral("abc"));
    }
    void failsOnPurpose() { QCOMPARE(1 + 1, 3); }
};

QTEST_MAIN(SmokeTest)
#include "smoke_qtest.moc"
