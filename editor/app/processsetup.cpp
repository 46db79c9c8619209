#include "app/processsetup.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// A user's own choice is kept.
void setUnlessSet(const char *name, const QByteArray &value)
{
    if (!qEnvironmentVariableIsSet(name))
        qputenv(name, value);
}

} // namespace

void ProcessSetup::beforeApplication()
{
    // Qt otherwise clips every opaque sibling out of each widget's paint region,
    // which grows with the square of the number of cell buttons on a big map.
    qputenv("QT_NO_SUBTRACTOPAQUESIBLINGS", "1");
    // Every widget made or deleted posts an event. GLib's loop wakes itself with
    // a system call for each one, Qt's own loop once per pass: a hundred cells
    // coming into sight cost half as much.
    setUnlessSet("QT_NO_GLIB", "1");
    // Everything here paints with the raster engine. On X11 the first window
    // would otherwise load the OpenGL stack for nothing: a tenth of a second
    // of the start and 50 MB of memory.
    setUnlessSet("QT_XCB_GL_INTEGRATION", "none");
    // Without TZ the C library reads the time zone file's status anew for
    // every local time, and Qt asks for one whenever it checks an image file
    // (the grid tile on every zoom): up to a tenth of a zoom. Named, it is read once;
    // it is the zone the library would use anyway.
    setUnlessSet("TZ", ":/etc/localtime");
#ifdef __GLIBC__
    // Cell buttons are made and destroyed by the ten thousand (a load, clearing
    // a layer, its undo). With the C library's fast bins every larger allocation
    // after such a burst first sweeps all the small blocks just freed; without
    // them clearing a 16,384-cell layer takes half the time.
    mallopt(M_MXFAST, 0);
#endif
}
