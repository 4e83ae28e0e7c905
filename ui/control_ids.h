#pragma once
// Control and resource numbers of the dialogs.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_NESTIQ_DIALOG = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDR_BUSY_CLIP = 129;
inline constexpr int IDD_CONFIGURED = 131;
inline constexpr int IDB_ABOUT = 135;

inline constexpr int IDC_STATIC_NONE = -1;
inline constexpr int IDOK_BUTTON = 1;
inline constexpr int IDC_CONFIGURATION = 1000;
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
