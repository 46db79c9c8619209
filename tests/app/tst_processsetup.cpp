#include "app/processsetup.h"

#include <QtTest>

class TestProcessSetup : public QObject
{
    Q_OBJECT

private slots:
    // Our defaults apply only where the user set nothing; set but empty is a
    // choice too (QT_NO_GLIB= brings GLib's loop back).
    void keepsTheUsersChoice()
    {
        for (const char *name : {"QT_NO_GLIB", "QT_XCB_GL_INTEGRATION", "TZ"}) {
            for (const QByteArray &users : {QByteArray("users"), QByteArray()}) {
                qputenv(name, users);
                ProcessSetup::beforeApplication();
                QCOMPARE(qgetenv(name), users);
            }
            qunsetenv(name);
            ProcessSetup::beforeApplication();
            QVERIFY(!qgetenv(name).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestProcessSetup)
#include "tst_processsetup.moc"
