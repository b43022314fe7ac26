#include "e2e_selection.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <array>
#include <cctype>
#include <functional>

namespace tavrel::e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr long kXdndVersion = 5;

// "file:///a%20b" for "/a b": the URI list of a drop, one line per file.
std::string uriList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) {
    list += "file://";
    for (unsigned char c : path) {
      const bool plain = std::isalnum(c) != 0 || c == '/' || c == '-' || c == '_' || c == '.';
      if (plain) {
        list += static_cast<char>(c);
      } else {
        static constexpr char kHex[] = "0123456789ABCDEF";
        list += '%';
        list += kHex[c >> 4];
        list += kHex[c & 15];
      }
    }
    list += "\r\n";
  }
  return list;
}

}  // namespace

struct CSelectionClient::Connection {
  Display* display = XOpenDisplay(nullptr);
  Window window = 0;
  std::string offered;  // what the drag source hands out as text/uri-list

  Connection() {
    if (display != nullptr) {
      window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    }
  }
  ~Connection() {
    if (display != nullptr) {
      XDestroyWindow(display, window);
      XCloseDisplay(display);
    }
  }

  Atom atom(const char* name) const { return XInternAtom(display, name, False); }

  void send(Window target, const char* type, std::array<long, 5> data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = atom(type);
    event.xclient.format = 32;
    for (std::size_t i = 0; i < data.size(); ++i) {
      event.xclient.data.l[i] = data[i];
    }
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
  }

  // As the XdndSelection owner: hands the offered URI list to whoever asks for it.
  void answer(const XSelectionRequestEvent& request) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    if (request.target == atom("text/uri-list")) {
      XChangeProperty(display, request.requestor, request.property, request.target, 8,
                      PropModeReplace, reinterpret_cast<const unsigned char*>(offered.data()),
                      static_cast<int>(offered.size()));
      reply.xselection.property = request.property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
  }

  // Handles events until one satisfies the condition or the limit passes; requests for the
  // drag's data are answered meanwhile.
  bool waitFor(const std::function<bool(const XEvent&)>& wanted, Clock::time_point deadline) {
    while (true) {
      while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
          answer(event.xselectionrequest);
        } else if (wanted(event)) {
          return true;
        }
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) {
        return false;
      }
      pollfd entry{ConnectionNumber(display), POLLIN, 0};
      ::poll(&entry, 1, static_cast<int>(left.count()));
    }
  }

  bool isClientMessage(const XEvent& event, const char* type) const {
    return event.type == ClientMessage && event.xclient.message_type == atom(type);
  }
};

CSelectionClient::CSelectionClient() : connection_(std::make_unique<Connection>()) {}

CSelectionClient::~CSelectionClient() = default;

bool CSelectionClient::connected() const {
  return connection_->display != nullptr;
}

bool CSelectionClient::dropFiles(unsigned long window, int x, int y,
                                 const std::vector<std::string>& paths,
                                 std::chrono::milliseconds limit) {
  Connection& c = *connection_;
  if (c.display == nullptr) {
    return false;
  }
  const auto deadline = Clock::now() + limit;
  int rootX = 0;
  int rootY = 0;
  Window child = 0;
  if (!XTranslateCoordinates(c.display, window, DefaultRootWindow(c.display), x, y, &rootX, &rootY,
                             &child)) {
    return false;
  }
  c.offered = uriList(paths);
  XSetSelectionOwner(c.display, c.atom("XdndSelection"), c.window, CurrentTime);
  const long source = static_cast<long>(c.window);
  c.send(window, "XdndEnter",
         {source, kXdndVersion << 24, static_cast<long>(c.atom("text/uri-list")), 0, 0});
  c.send(window, "XdndPosition",
         {source, 0, (static_cast<long>(rootX) << 16) | rootY, CurrentTime,
          static_cast<long>(c.atom("XdndActionCopy"))});
  XEvent status{};
  if (!c.waitFor(
          [&](const XEvent& event) {
            status = event;
            return c.isClientMessage(event, "XdndStatus");
          },
          deadline) ||
      (status.xclient.data.l[1] & 1) == 0) {
    c.send(window, "XdndLeave", {source, 0, 0, 0, 0});
    return false;
  }
  c.send(window, "XdndDrop", {source, 0, CurrentTime, 0, 0});
  XEvent finished{};
  return c.waitFor(
             [&](const XEvent& event) {
               finished = event;
               return c.isClientMessage(event, "XdndFinished");
             },
             deadline) &&
         (finished.xclient.data.l[1] & 1) != 0;
}

std::optional<std::string> CSelectionClient::clipboardText(std::chrono::milliseconds limit) {
  Connection& c = *connection_;
  if (c.display == nullptr) {
    return std::nullopt;
  }
  const Atom property = c.atom("TAVREL_E2E_CLIPBOARD");
  XConvertSelection(c.display, c.atom("CLIPBOARD"), c.atom("UTF8_STRING"), property, c.window,
                    CurrentTime);
  XFlush(c.display);
  XEvent notify{};
  if (!c.waitFor(
          [&](const XEvent& event) {
            notify = event;
            return event.type == SelectionNotify;
          },
          Clock::now() + limit) ||
      notify.xselection.property == None) {
    return std::nullopt;
  }
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  // At most 64 KiB of text: the test reads back short strings.
  if (XGetWindowProperty(c.display, c.window, property, 0, 16384, True, AnyPropertyType, &type,
                         &format, &items, &left, &data) != Success ||
      data == nullptr) {
    return std::nullopt;
  }
  std::string text(reinterpret_cast<const char*>(data), format == 8 ? items : 0);
  XFree(data);
  return text;
}

}  // namespace tavrel::e2e
