#include "ui/launch_validation.h"

#include "settings/dotted_quad.h"
#include "ui/control_ids.h"

std::optional<ValidationFailure> validateLaunchForm(const LaunchForm& form, const BoxSettingsRecord& settings) {
  // The edit box's text ends at a NUL pasted into it, as the capture reads it.
  if (form.licence.c_str()[0] == '\0') return ValidationFailure{1, "Vous devez entrer un # de licence", IDC_LICENCE};
  if (form.boxIp.blank) return ValidationFailure{2, "Vous devez entrer une adresse IP", IDC_IPADDRESS};
  if (form.mask.blank) return ValidationFailure{3, "Vous devez entrer un masque de sous-réseau", IDC_MASK};
  if (form.gateway.blank) return ValidationFailure{4, "Vous devez entrer une Passerelle par défaut", IDC_GATEWAY};
  if (form.dns.blank) return ValidationFailure{5, "Vous devez entrer un Serveur DNS", IDC_DNS};
  const std::uint32_t box = form.boxIp.value;
  if (box == parseDottedQuad(settings.hostIp))
    return ValidationFailure{
        6, "Vous devez entrer une adresse IP valide pour la Box\n\t(autre que celle de votre machine)", IDC_IPADDRESS};
  // The stored mask, not the mask input: the host's until a Launch passes.
  if ((box & parseDottedQuad(settings.mask)) == box)
    return ValidationFailure{7, "Vous devez entrer une adresse IP valide pour la Box\n", IDC_IPADDRESS};
  return std::nullopt;
}
