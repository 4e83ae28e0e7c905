#pragma once
// Qt hands an event posted from another thread to the UI thread under its
// own lock. Debian's Qt is not built with ThreadSanitizer, which cannot see
// that lock and would take every posted event for a race. This release and
// acquire state the same hand-over where it can see it; they order nothing
// that Qt does not order already, for one atomic operation a post.
#include <atomic>

namespace wnd {

inline std::atomic<unsigned> uiHandOver{0};

// The poster: once the event and what it carries are built, before posting it.
inline void releaseToUiThread() { uiHandOver.fetch_add(1, std::memory_order_release); }

// The UI thread: before it looks at an event that may come from another thread.
inline void acquireOnUiThread() { static_cast<void>(uiHandOver.load(std::memory_order_acquire)); }

}  // namespace wnd
