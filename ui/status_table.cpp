#include "ui/status_table.h"

#include "exchange/exchange_status.h"

std::optional<StatusMessage> statusMessage(unsigned code) {
  switch (code) {
    case StatusSocketsUnavailable: return StatusMessage{"WSAStartup failed", STATUS_ERROR_CAPTION};
    case StatusSettingsRejected:
      return StatusMessage{"Erreur de parametrage\n(Vérifiez que votre licence KQV est correcte)", STATUS_ERROR_CAPTION};
    case StatusBadDns: return StatusMessage{"Le Serveur DNS est incorrect", STATUS_ERROR_CAPTION};
    case StatusBadGateway: return StatusMessage{"La passerelle par défaut est incorrecte", STATUS_ERROR_CAPTION};
    case StatusBadLicence: return StatusMessage{"La licence est incorrecte", STATUS_ERROR_CAPTION};
    case StatusFirewallBlocked:
      return StatusMessage{"Votre routeur/firewall ne laisse pas sortir KQV.\nVeuillez contacter votre administrateur "
                           "réseau\nen lui demandant de permettre l'accés \nau port 6666 en sortie vers internet.",
                           STATUS_ERROR_CAPTION};
    case StatusTimedOut:
      return StatusMessage{"Délai dépassé\nLa box n'a pas été trouvée :\n- Vérifier le numéro de licence\n- Vérifier "
                           "les connexions réseau",
                           nullptr};
    case StatusAuthFailed:
      return StatusMessage{"La box ne sait pas s'authentifier avec le Keldrun\nSi vous voyez ce message, veuillez "
                           "contacter\nla hotline Quenorix au 00 11 22 33 44",
                           nullptr};
    default: return std::nullopt;
  }
}
