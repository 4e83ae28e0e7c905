#pragma once
// The toolkit's side of one dialog window. Dialog and the control classes
// call it; the Qt and Win32 builds each implement it. UI thread only,
// except postMessage.
#include <array>
#include <cstdint>
#include <string>

#include "platform/wnd/messages.h"

namespace wnd {

struct Point {
  int x, y;
};
// Where an icon goes in a client area, given both sizes.
using IconPlacement = Point (*)(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  virtual bool hasControl(int id) const = 0;
  virtual void setControlText(int id, const std::string& utf8) = 0;
  // UTF-8, up to a NUL the text may hold, as a C string would end there.
  virtual std::string controlText(int id) const = 0;
  virtual void showControl(int id, int showCommand) = 0;
  virtual bool isControlVisible(int id) const = 0;
  virtual void focusControl(int id) = 0;
  virtual void setCheck(int id, bool checked) = 0;
  virtual bool isChecked(int id) const = 0;

  virtual void setAddress(int id, std::uint32_t value) = 0;
  virtual std::uint32_t address(int id) const = 0;
  virtual bool isAddressBlank(int id) const = 0;
  virtual std::array<std::uint8_t, 4> addressFields(int id) const = 0;

  virtual bool openClip(int id, int clipResource) = 0;
  virtual bool playClip(int id, int from, int to, int repeat) = 0;
  virtual void stopClip(int id) = 0;
  virtual bool isClipPlaying(int id) const = 0;

  virtual void setWindowText(const std::string& utf8) = 0;
  virtual void setIcon(int iconResource, unsigned which) = 0;
  // The window's own menu: false when the window has none.
  virtual bool hasSystemMenu() const = 0;
  virtual void appendSystemMenuSeparator() = 0;
  virtual void appendSystemMenuItem(unsigned command, const std::string& utf8) = 0;
  virtual bool isIconic() const = 0;
  // Where the window system leaves a minimised window's drawing to the
  // window (Windows): one paint cycle that erases the icon's background and
  // draws the icon where place() puts it. Does nothing where minimised
  // windows are not drawn in place.
  virtual void paintMinimisedIcon(int iconResource, IconPlacement place) = 0;
  // The icon as the window system hands it over in a message's result
  // (WM_QUERYDRAGICON); 0 where it has no such thing.
  virtual LRESULT iconHandle(int iconResource) = 0;

  virtual unsigned setTimer(unsigned id, unsigned milliseconds) = 0;
  virtual bool killTimer(unsigned id) = 0;
  // Thread-safe and never blocking; delivered later on the UI thread.
  virtual bool postMessage(unsigned message, WPARAM wParam, LPARAM lParam) = 0;
  // What the window system would do with the message being handled.
  virtual LRESULT defaultProcessing(unsigned message, WPARAM wParam, LPARAM lParam) = 0;

  virtual void endModal(int result) = 0;
};

}  // namespace wnd
