#pragma once
// A fresh nestiq.exe per test, its start-up notices answered as IP Helper
// predicts, its main dialog found; closed and waited for at the end.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "exchange/exchange_status.h"  // IDM_ABOUTBOX
#include "tests/win/host_expectation.h"
#include "tests/win/window_probe.h"
#include "ui/control_ids.h"

inline const std::wstring kMainTitle = L"Param\u00e9trages Box";
inline const std::wstring kAboutTitle = L"Version 3.2";
inline const std::wstring kConfiguredTitle = L"Box configur\u00e9e";

// A Linux path as Wine shows it, through drive Z:.
std::wstring windowsPath(const std::wstring& path);

class NestiqExe : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  DWORD pid() const { return program_->id(); }
  // Waits for the message box with this caption, presses OK and returns its
  // text once it has gone ("" and a failure when none shows).
  std::wstring answerBox(const std::wstring& caption, DWORD milliseconds = 10000);

  std::uint32_t hostValue() const { return addressValue(host_.hostIp); }
  std::uint32_t maskValue() const { return addressValue(host_.mask); }
  // A box address that passes both address rules against this host.
  std::uint32_t validBoxAddress() const;

  HostAnswer host_;
  std::unique_ptr<probe::Program> program_;
  HWND main_ = nullptr;
};
