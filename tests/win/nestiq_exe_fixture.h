#pragma once
// A fresh nestiq.exe per test, its start-up notices answered as IP Helper
// predicts, its main dialog found; closed and waited for at the end.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "tests/win/host_expectation.h"
#include "tests/win/window_probe.h"

inline constexpr int IDC_IPADDRESS = 1001;
inline constexpr int IDC_MASK = 1002;
inline constexpr int IDC_BUSY_ANIMATION = 1003;
inline constexpr int IDC_LAUNCH = 1004;
inline constexpr int IDC_LICENCE = 1006;
inline constexpr int IDC_SUMMARY = 1009;
inline constexpr int IDC_ADD_SHORTCUT = 1010;
inline constexpr int IDC_OPEN_ADMIN = 1011;
inline constexpr int IDC_GATEWAY = 1012;
inline constexpr int IDC_DNS = 1013;
inline constexpr int IDC_VERSION = 1014;
inline constexpr unsigned IDM_ABOUTBOX = 16;

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
