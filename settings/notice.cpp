#include "settings/notice.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<NoticeSink*> gSink{nullptr};
}

void setNoticeSink(NoticeSink* sink) { gSink = sink; }
NoticeSink* noticeSink() { return gSink; }

void showNotice(const char* format, ...) {
  char buffer[NOTICE_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) buffer[0] = '\0';
  if (NoticeSink* sink = gSink) sink->showOwnerlessMessage(buffer, NOTICE_CAPTION);
}
