#include "app/processsetup.h"

#include <QtTest>

// The settings made before the application exists: each one a user has set
// stays as the user set it.
class TestProcessSetup : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheUsersChoice_data();
    void keepsTheUsersChoice();
};

void TestProcessSetup::keepsTheUsersChoice_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("ours");
    QTest::newRow("event loop") << QByteArray("QT_NO_GLIB") << QByteArray("1");
    QTest::newRow("OpenGL") << QByteArray("QT_XCB_GL_INTEGRATION") << QByteArray("none");
}

void TestProcessSetup::keepsTheUsersChoice()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, ours);
    qunsetenv(name.constData());
    ProcessSetup::beforeApplication();
    QCOMPARE(qgetenv(name.constData()), ours);

    qputenv(name.constData(), "users");
    ProcessSetup::beforeApplication();
    QCOMPARE(qgetenv(name.constData()), QByteArray("users"));
    // Set but empty is a choice too (GLib's loop back on).
    qputenv(name.constData(), "");
    ProcessSetup::beforeApplication();
    QVERIFY(qEnvironmentVariableIsSet(name.constData()));
    QCOMPARE(qgetenv(name.constData()), QByteArray());
}

QTEST_GUILESS_MAIN(TestProcessSetup)
#include "tst_processsetup.moc"
