// x11cursor: prints the size and hot spot of the pointer's cursor image in
// screen pixels, "WIDTH HEIGHT HOTX HOTY": what a screenshot never shows.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11cursor: cannot open the display\n");
        return 1;
    }
    XFixesCursorImage *cursor = XFixesGetCursorImage(display);
    if (!cursor) {
        std::fprintf(stderr, "x11cursor: no cursor image\n");
        XCloseDisplay(display);
        return 1;
    }
    std::printf("%d %d %d %d\n", cursor->width, cursor->height, cursor->xhot, cursor->yhot);
    XFree(cursor);
    XCloseDisplay(display);
    return 0;
}
