#pragma once
// The driver's side of box-on-demand: asks for a nestiq-box with given
// options and reads back the datagram it received. Available only in a run
// made by lan-check (NESTIQ_BOX_CONTROL names the shared folder).
#include <windows.h>

#include <string>

class BoxOnDemand {
 public:
  static bool available();
  // A box serving one request with these options; true once it listens.
  bool start(const std::string& options, DWORD milliseconds = 10000);
  // The bytes of the request the box received; waits for them.
  bool waitRecord(std::string& bytes, DWORD milliseconds = 15000);

 private:
  static std::wstring file(const wchar_t* name);
};
