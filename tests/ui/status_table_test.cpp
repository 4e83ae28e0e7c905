#include "ui/status_table.h"

#include <gtest/gtest.h>

#include <string>

#include "exchange/exchange_status.h"

namespace {

struct StatusCase {
  unsigned code;
  const char* text;
  bool ownCaption;
};

TEST(StatusTable, EveryFailureHasItsTextAndCaption) {
  const StatusCase cases[] = {
      {StatusSocketsUnavailable, "WSAStartup failed", true},
      {StatusSettingsRejected, "Erreur de parametrage\n(Vérifiez que votre licence KQV est correcte)", true},
      {StatusBadDns, "Le Serveur DNS est incorrect", true},
      {StatusBadGateway, "La passerelle par défaut est incorrecte", true},
      {StatusBadLicence, "La licence est incorrecte", true},
      {StatusFirewallBlocked,
       "Votre routeur/firewall ne laisse pas sortir KQV.\nVeuillez contacter votre administrateur réseau\nen lui "
       "demandant de permettre l'accés \nau port 6666 en sortie vers internet.",
       true},
      {StatusTimedOut,
       "Délai dépassé\nLa box n'a pas été trouvée :\n- Vérifier le numéro de licence\n- Vérifier les connexions réseau",
       false},
      {StatusAuthFailed,
       "La box ne sait pas s'authentifier avec le Keldrun\nSi vous voyez ce message, veuillez contacter\nla hotline "
       "Quenorix au 00 11 22 33 44",
       false},
  };
  for (const auto& c : cases) {
    const auto m = statusMessage(c.code);
    ASSERT_TRUE(m) << c.code;
    EXPECT_STREQ(m->text, c.text) << c.code;
    if (c.ownCaption)
      EXPECT_STREQ(m->caption, "Erreur") << c.code;
    else
      EXPECT_EQ(m->caption, nullptr) << c.code;
  }
}

TEST(StatusTable, SuccessAndUnknownCodesHaveNoMessageBox) {
  for (unsigned code : {10u, 0u, 11u, 29u, 37u, 0xFFFFu}) EXPECT_FALSE(statusMessage(code)) << code;
}

}  // namespace
