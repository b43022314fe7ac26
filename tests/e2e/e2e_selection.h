// The test's side of X selections: files dropped on a window as a file manager drags them
// (the XDND protocol, the test being the drag source), and the clipboard's text.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavrel::e2e {

class CSelectionClient {
 public:
  // Connects to $DISPLAY with a window of its own; connected() tells whether that worked.
  CSelectionClient();
  ~CSelectionClient();
  CSelectionClient(const CSelectionClient&) = delete;
  CSelectionClient& operator=(const CSelectionClient&) = delete;

  bool connected() const;
  // Drags the files (absolute paths) over the point (x, y) of the top-level window and drops
  // them there. True once the window accepted the drag and said it finished with the drop.
  bool dropFiles(unsigned long window, int x, int y, const std::vector<std::string>& paths,
                 std::chrono::milliseconds limit);
  // The clipboard as UTF-8 text; none when nobody owns it or the owner does not answer.
  std::optional<std::string> clipboardText(std::chrono::milliseconds limit);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
};

}  // namespace tavrel::e2e
