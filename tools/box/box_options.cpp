#include "tools/box/box_options.h"

#include <charconv>

#include "tools/box/escapes.h"

namespace {

constexpr const char* kTokens[] = {"CONFIG_OK",           "CONFIG_BAD_DNS",      "CONFIG_BAD_GATEWAY",
                                   "CONFIG_BAD_LICENCE", "CONFIG_BAD_FIREWALL", "CONFIG_BAD_USER"};
constexpr unsigned kMaxMs = 3600000;

std::optional<unsigned> number(const std::string& text, unsigned low, unsigned high) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

bool isToken(const std::string& text) {
  for (const char* t : kTokens)
    if (text == t) return true;
  return false;
}

}  // namespace

std::optional<BoxOptions> parseBoxOptions(const std::vector<std::string>& args, std::string& error) {
  BoxOptions o;
  std::string answerOption;  // the option that chose how to answer, for conflicts
  bool split = false;
  const auto chooseAnswer = [&](const std::string& name, BoxAnswer answer) {
    if (!answerOption.empty()) {
      error = answerOption + " and " + name + " cannot be combined";
      return false;
    }
    answerOption = name;
    o.answer = answer;
    return true;
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    const auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 < args.size()) return args[++i];
      error = name + " needs a value";
      return std::nullopt;
    };
    const auto milliseconds = [&]() -> std::optional<unsigned> {
      const auto v = value();
      if (!v) return std::nullopt;
      const auto ms = number(*v, 0, kMaxMs);
      if (!ms) error = name + " takes milliseconds from 0 to " + std::to_string(kMaxMs) + ", not \"" + *v + "\"";
      return ms;
    };
    const auto flag = [&] {
      if (inlineValue) error = name + " takes no value";
      return !inlineValue;
    };

    if (name == "--help" || name == "-h") {
      if (!flag()) return std::nullopt;
      o.help = true;
    } else if (name == "--reply") {
      const auto v = value();
      if (!v || !chooseAnswer(name, BoxAnswer::Reply)) return std::nullopt;
      if (!isToken(*v)) {
        error = "unknown reply token \"" + *v +
                "\" (use CONFIG_OK, CONFIG_BAD_DNS, CONFIG_BAD_GATEWAY, CONFIG_BAD_LICENCE, CONFIG_BAD_FIREWALL, "
                "CONFIG_BAD_USER, or --reply-bytes)";
        return std::nullopt;
      }
      o.reply = *v;
    } else if (name == "--reply-bytes") {
      const auto v = value();
      if (!v || !chooseAnswer(name, BoxAnswer::Reply)) return std::nullopt;
      std::string why;
      const auto bytes = decodeEscapes(*v, why);
      if (!bytes) {
        error = "--reply-bytes: " + why;
        return std::nullopt;
      }
      o.reply = *bytes;
    } else if (name == "--silent" || name == "--close" || name == "--reset" || name == "--no-connect") {
      const BoxAnswer answer = name == "--silent"  ? BoxAnswer::Silent
                               : name == "--close" ? BoxAnswer::Close
                               : name == "--reset" ? BoxAnswer::Reset
                                                   : BoxAnswer::NoConnect;
      if (!flag() || !chooseAnswer(name, answer)) return std::nullopt;
    } else if (name == "--delay") {
      const auto ms = milliseconds();
      if (!ms) return std::nullopt;
      o.delayMs = *ms;
    } else if (name == "--split") {
      const auto ms = milliseconds();
      if (!ms) return std::nullopt;
      o.splitMs = *ms;
      split = true;
    } else if (name == "--count") {
      const auto v = value();
      if (!v) return std::nullopt;
      const auto n = number(*v, 1, 1000000000);
      if (!n) {
        error = "--count takes a number of requests of at least 1, not \"" + *v + "\"";
        return std::nullopt;
      }
      o.count = *n;
    } else if (name == "--record" || name == "--ready-file") {
      const auto v = value();
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = name + " needs a file name";
        return std::nullopt;
      }
      (name == "--record" ? o.recordFile : o.readyFile) = *v;
    } else {
      error = "unknown option \"" + args[i] + "\"";
      return std::nullopt;
    }
  }

  if (split && o.answer != BoxAnswer::Reply) {
    error = "--split only goes with a reply, not with " + answerOption;
    return std::nullopt;
  }
  if (o.delayMs > 0 && o.answer == BoxAnswer::NoConnect) {
    error = "--delay and --no-connect cannot be combined";
    return std::nullopt;
  }
  return o;
}

const char* boxHelpText() {
  return R"(Usage: nestiq-box [OPTIONS]

Plays the box in a Nestiq configuration exchange. It waits for the request
datagram on UDP port 9999 (on every local address), prints it, then connects
back to the sender's address on TCP port 9999 and sends a reply.

How to answer (at most one of these; the default is --reply CONFIG_OK):
  --reply TOKEN        send TOKEN, one of CONFIG_OK, CONFIG_BAD_DNS,
                       CONFIG_BAD_GATEWAY, CONFIG_BAD_LICENCE,
                       CONFIG_BAD_FIREWALL, CONFIG_BAD_USER
  --reply-bytes TEXT   send TEXT with the escapes \n \r \t \0 \\ and \xNN
                       (two hex digits) turned into their bytes; "" sends
                       nothing and closes
  --silent             connect and send nothing; hold the connection until
                       the other side closes it
  --close              connect and close at once without sending
  --reset              connect and abort the connection (TCP reset) without
                       sending
  --no-connect         print the requests only; never connect back

Timing:
  --delay MS           wait MS milliseconds after a request before connecting
  --split MS           send the reply in two parts, its first half and then
                       the rest, MS milliseconds apart

Other:
  --count N            serve N requests, then exit (default: until stopped)
  --record FILE        write the exact bytes of each request to FILE; the
                       latest request replaces the one before
  --ready-file PATH    create PATH once the box listens
  --help               show this help and exit

Options take their value as the next argument or after "=" (--delay=500).

Output, one line each, on standard output:
  ready                                   the box listens
  request N from ADDR:PORT, LEN bytes, at S s: TEXT
                                          a request; S counts from the start,
                                          TEXT shows printable ASCII as it is,
                                          the backslash as \\ and any other
                                          byte as \xNN
  answer N: WHAT                          what the box did about it
Problems with a single answer go to standard error; the box goes on.

Exit status: 0 after --count requests (or --help), 1 when the box cannot
listen (UDP port 9999 taken, no permission), 2 for a bad command line.

Example: nestiq-box --reply CONFIG_BAD_DNS --delay 500 --count 1
)";
}
