#include "ui/outcome_texts.h"

#include "ui/windows1252.h"

std::string configuredSummary(const BoxSettingsRecord& s) {
  return "La Box " + windows1252ToUtf8(s.licence) + " a été configurée :\nIP : " + s.boxIp + "\nMasque : " + s.mask;
}

std::string shortcutFileText(const char* boxIp) {
  const std::string page = adminPageAddress(boxIp);
  return "[DEFAULT]\nBASEURL=" + page + "\n[InternetShortcut]\nURL=" + page + "\n";
}

std::string adminPageAddress(const char* boxIp) { return std::string("http://") + boxIp + "/"; }
