#pragma once
// The one process-wide record of the values handed to the box.
#include <atomic>
#include <cstddef>

inline constexpr std::size_t LICENCE_FIELD_SIZE = 100;
inline constexpr std::size_t ADDRESS_FIELD_SIZE = 20;
// The licence capture keeps at most this many characters.
inline constexpr std::size_t LICENCE_CAPTURE_MAX = 49;

struct BoxSettingsRecord {
  char licence[LICENCE_FIELD_SIZE];
  char dns[ADDRESS_FIELD_SIZE];
  char gateway[ADDRESS_FIELD_SIZE];
  char mask[ADDRESS_FIELD_SIZE];
  char boxIp[ADDRESS_FIELD_SIZE];
  char hostIp[ADDRESS_FIELD_SIZE];
  // Read and written by the UI thread and the worker without a lock.
  std::atomic<bool> busy;
};

// Static storage: all texts empty and busy clear at process start.
extern BoxSettingsRecord BoxSettings;

// Copies text into a fixed field, always terminated, cutting what does not fit.
template <std::size_t N>
void copyToField(char (&field)[N], const char* text) {
  std::size_t i = 0;
  if (text)
    for (; i + 1 < N && text[i] != '\0'; ++i) field[i] = text[i];
  field[i] = '\0';
}

// Back to the start-of-process state; tests use it between cases.
void resetBoxSettings(BoxSettingsRecord& record);
