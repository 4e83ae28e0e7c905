#pragma once
// Ownerless modal message boxes: one OK button, no icon, return once closed.
#include <string>

class NoticeSink {
 public:
  virtual ~NoticeSink() = default;
  virtual void showOwnerlessMessage(const std::string& text, const std::string& caption) = 0;
};

inline constexpr const char* NOTICE_CAPTION = "Arkelune";
inline constexpr int NOTICE_BUFFER_SIZE = 200;

// Where start-up notices go; the window layer installs its own, tests theirs.
void setNoticeSink(NoticeSink* sink);
NoticeSink* noticeSink();

// printf-style; the text is cut to 199 characters, never overflows.
void showNotice(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
