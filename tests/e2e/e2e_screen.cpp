#include "e2e_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tavrel::e2e {

struct CScreen::Connection {
  Display* display = XOpenDisplay(nullptr);
  ~Connection() {
    if (display != nullptr) {
      XCloseDisplay(display);
    }
  }
};

CScreen::CScreen() : connection_(std::make_unique<Connection>()) {}

CScreen::~CScreen() = default;

bool CScreen::connected() const {
  return connection_->display != nullptr;
}

unsigned long CScreen::root() const {
  return connection_->display != nullptr ? DefaultRootWindow(connection_->display) : 0;
}

std::vector<unsigned long> CScreen::pixels(unsigned long window, int x, int y, int width,
                                           int height) {
  std::vector<unsigned long> result;
  Display* display = connection_->display;
  if (display == nullptr) {
    return result;
  }
  const Window root = DefaultRootWindow(display);
  int rootX = 0;
  int rootY = 0;
  Window child = 0;
  if (!XTranslateCoordinates(display, window, root, x, y, &rootX, &rootY, &child)) {
    return result;
  }
  XImage* image = XGetImage(display, root, rootX, rootY, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) {
    return result;
  }
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      result.push_back(XGetPixel(image, column, row));
    }
  }
  XDestroyImage(image);
  return result;
}

}  // namespace tavrel::e2e
