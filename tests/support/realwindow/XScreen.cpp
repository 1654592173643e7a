#include "tests/support/realwindow/XScreen.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

// A window may close between being listed and being asked about; the default handler would
// end the test's process over that.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

DisplayPtr Open(const std::string& name) {
    static const bool kHandlerSet = (XSetErrorHandler(&IgnoreXError), true);
    (void)kHandlerSet;
    return DisplayPtr(XOpenDisplay(name.c_str()));
}

std::string WindowTitle(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom net_name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, net_name, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

void PressKeysym(Display* display, KeySym keysym) {
    const KeyCode code = XKeysymToKeycode(display, keysym);
    if (code == 0) return;
    // Keys whose unshifted symbol differs (capitals, most punctuation) need Shift.
    const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != keysym;
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    if (shifted) XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (shifted) XTestFakeKeyEvent(display, shift, False, CurrentTime);
}

}  // namespace

QImage GrabScreen(const std::string& display_name, const QRect& area) {
    DisplayPtr display = Open(display_name);
    if (!display) return {};
    const Window root = DefaultRootWindow(display.get());
    XWindowAttributes attributes{};
    XGetWindowAttributes(display.get(), root, &attributes);
    const QRect screen(0, 0, attributes.width, attributes.height);
    const QRect wanted = area.isNull() ? screen : area.intersected(screen);
    if (wanted.isEmpty()) return {};
    XImage* image = XGetImage(display.get(), root, wanted.x(), wanted.y(), wanted.width(),
                              wanted.height(), AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    QImage result(wanted.size(), QImage::Format_RGB32);
    for (int y = 0; y < wanted.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < wanted.width(); ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            row[x] = qRgb(static_cast<int>((pixel & image->red_mask) >> 16),
                          static_cast<int>((pixel & image->green_mask) >> 8),
                          static_cast<int>(pixel & image->blue_mask));
        }
    }
    XDestroyImage(image);
    return result;
}

std::optional<QRect> FindWindow(const std::string& display_name, const std::string& title) {
    DisplayPtr display = Open(display_name);
    if (!display) return std::nullopt;
    const Window root = DefaultRootWindow(display.get());
    Window root_return = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display.get(), root, &root_return, &parent, &children, &count)) {
        return std::nullopt;
    }
    std::optional<QRect> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display.get(), children[i], &attributes) ||
            attributes.map_state != IsViewable ||
            WindowTitle(display.get(), children[i]) != title) {
            continue;
        }
        int x = 0;
        int y = 0;
        Window child = 0;
        if (XTranslateCoordinates(display.get(), children[i], root, 0, 0, &x, &y, &child)) {
            found = QRect(x, y, attributes.width, attributes.height);
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

void Click(const std::string& display_name, QPoint screen_pos, int button) {
    DisplayPtr display = Open(display_name);
    if (!display) return;
    XTestFakeMotionEvent(display.get(), -1, screen_pos.x(), screen_pos.y(), CurrentTime);
    XTestFakeButtonEvent(display.get(), static_cast<unsigned int>(button), True, CurrentTime);
    XTestFakeButtonEvent(display.get(), static_cast<unsigned int>(button), False, CurrentTime);
    XSync(display.get(), False);
}

void PressKey(const std::string& display_name, const char* keysym_name) {
    DisplayPtr display = Open(display_name);
    if (!display) return;
    PressKeysym(display.get(), XStringToKeysym(keysym_name));
    XSync(display.get(), False);
}

void TypeText(const std::string& display_name, const std::string& text) {
    DisplayPtr display = Open(display_name);
    if (!display) return;
    // Latin-1 keysyms are the characters' own codes.
    for (const char c : text)
        PressKeysym(display.get(), static_cast<KeySym>(static_cast<unsigned char>(c)));
    XSync(display.get(), False);
}
