#pragma once
// Per-class message maps: each class lists what it handles and names its
// base's map; what no map handles gets the default processing.
#include <span>

#include "platform/wnd/messages.h"

namespace wnd {

class Dialog;

struct MessageMapEntry {
  unsigned message;
  int controlId;          // WM_COMMAND: the control, -1 for any; else unused
  unsigned notifyCode;    // WM_COMMAND: the notification (BN_CLICKED)
  LRESULT (*handler)(Dialog& self, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
  const MessageMap* base;
  std::span<const MessageMapEntry> entries;
};

// Entry builders. H is a pointer to a member of the derived class T.
template <class T, void (T::*H)()>
constexpr MessageMapEntry OnButtonClicked(int id) {
  return {WM_COMMAND, id, BN_CLICKED, [](Dialog& d, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T&>(d).*H)();
            return 0;
          }};
}

template <class T, void (T::*H)(unsigned, LPARAM)>
constexpr MessageMapEntry OnSysCommandEntry() {
  return {WM_SYSCOMMAND, -1, 0, [](Dialog& d, WPARAM w, LPARAM l) -> LRESULT {
            (static_cast<T&>(d).*H)(static_cast<unsigned>(w), l);
            return 0;
          }};
}

template <class T, void (T::*H)(unsigned)>
constexpr MessageMapEntry OnTimerEntry() {
  return {WM_TIMER, -1, 0, [](Dialog& d, WPARAM w, LPARAM) -> LRESULT {
            (static_cast<T&>(d).*H)(static_cast<unsigned>(w));
            return 0;
          }};
}

template <class T, LRESULT (T::*H)(WPARAM, LPARAM)>
constexpr MessageMapEntry OnMessageEntry(unsigned message) {
  return {message, -1, 0, [](Dialog& d, WPARAM w, LPARAM l) -> LRESULT { return (static_cast<T&>(d).*H)(w, l); }};
}

template <class T, void (T::*H)()>
constexpr MessageMapEntry OnPaintEntry() {
  return {WM_PAINT, -1, 0, [](Dialog& d, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T&>(d).*H)();
            return 0;
          }};
}

template <class T, LRESULT (T::*H)()>
constexpr MessageMapEntry OnQueryDragIconEntry() {
  return {WM_QUERYDRAGICON, -1, 0, [](Dialog& d, WPARAM, LPARAM) -> LRESULT { return (static_cast<T&>(d).*H)(); }};
}

}  // namespace wnd
