// Pixels of a window on the X server of $DISPLAY, read the way a screenshot reads them.
#pragma once

#include <memory>
#include <vector>

namespace tavrel::e2e {

class CScreen {
 public:
  // Connects to $DISPLAY; connected() tells whether that worked.
  CScreen();
  ~CScreen();
  CScreen(const CScreen&) = delete;
  CScreen& operator=(const CScreen&) = delete;

  bool connected() const;
  // The root window: its pixels are the screen's.
  unsigned long root() const;
  // The pixels of the rectangle at (x, y) of the window, row by row; empty on failure.
  std::vector<unsigned long> pixels(unsigned long window, int x, int y, int width, int height);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace tavrel::e2e
