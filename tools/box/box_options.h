#pragma once
// The command line of nestiq-box.
#include <optional>
#include <string>
#include <vector>

enum class BoxAnswer { Reply, Silent, Close, Reset, NoConnect };

struct BoxOptions {
  BoxAnswer answer = BoxAnswer::Reply;
  std::string reply = "CONFIG_OK";  // the exact bytes sent
  unsigned delayMs = 0;
  std::optional<unsigned> splitMs;
  unsigned count = 0;  // 0: serve until stopped
  std::string recordFile;
  std::string readyFile;
  bool help = false;
};

// The options, or nullopt with error set to a one-line reason.
std::optional<BoxOptions> parseBoxOptions(const std::vector<std::string>& args, std::string& error);

const char* boxHelpText();
