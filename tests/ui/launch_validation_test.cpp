#include "ui/launch_validation.h"

#include <gtest/gtest.h>

#include "settings/dotted_quad.h"
#include "ui/control_ids.h"

namespace {

AddressInputState ip(const char* text) { return {false, parseDottedQuad(text)}; }
const AddressInputState kBlank{true, 0};

LaunchForm goodForm() { return {"LIC1", ip("192.168.1.50"), ip("255.255.255.0"), ip("192.168.1.1"), ip("192.168.1.1")}; }

// The record as start-up leaves it: host address and mask.
struct Host {
  BoxSettingsRecord r{};
  Host(const char* hostIp, const char* mask) {
    copyToField(r.hostIp, hostIp);
    copyToField(r.mask, mask);
  }
};
std::optional<ValidationFailure> validate(const LaunchForm& f, const Host& h) { return validateLaunchForm(f, h.r); }

struct RuleCase {
  const char* name;
  void (*spoil)(LaunchForm&);
  int rule;
  const char* message;
  int focus;
};

class ValidationRule : public testing::TestWithParam<RuleCase> {};

TEST_P(ValidationRule, FirstFailingRuleGivesItsMessageAndFocus) {
  LaunchForm form = goodForm();
  GetParam().spoil(form);
  const auto failure = validate(form, Host("192.168.1.20", "255.255.255.0"));
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->rule, GetParam().rule);
  EXPECT_STREQ(failure->message, GetParam().message);
  EXPECT_EQ(failure->focusControl, GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(
    Order, ValidationRule,
    testing::Values(
        RuleCase{"everything_empty", [](LaunchForm& f) { f = {"", kBlank, kBlank, kBlank, kBlank}; }, 1,
                 "Vous devez entrer un # de licence", IDC_LICENCE},
        RuleCase{"address_and_later_blank", [](LaunchForm& f) { f.boxIp = f.mask = f.dns = kBlank; }, 2,
                 "Vous devez entrer une adresse IP", IDC_IPADDRESS},
        RuleCase{"mask_gateway_dns_blank", [](LaunchForm& f) { f.mask = f.gateway = f.dns = kBlank; }, 3,
                 "Vous devez entrer un masque de sous-réseau", IDC_MASK},
        RuleCase{"gateway_dns_blank", [](LaunchForm& f) { f.gateway = f.dns = kBlank; }, 4,
                 "Vous devez entrer une Passerelle par défaut", IDC_GATEWAY},
        RuleCase{"dns_blank", [](LaunchForm& f) { f.dns = kBlank; }, 5, "Vous devez entrer un Serveur DNS", IDC_DNS},
        RuleCase{"host_address", [](LaunchForm& f) { f.boxIp = ip("192.168.1.20"); }, 6,
                 "Vous devez entrer une adresse IP valide pour la Box\n\t(autre que celle de votre machine)",
                 IDC_IPADDRESS},
        RuleCase{"network_address", [](LaunchForm& f) { f.boxIp = ip("192.168.1.0"); }, 7,
                 "Vous devez entrer une adresse IP valide pour la Box\n", IDC_IPADDRESS},
        // Only the blank state of the other inputs counts: a zero mask input is fine, the stored mask decides.
        RuleCase{"rule7_ignores_mask_input", [](LaunchForm& f) { f.mask = ip("0.0.0.0"); f.boxIp = ip("192.168.1.0"); },
                 7, "Vous devez entrer une adresse IP valide pour la Box\n", IDC_IPADDRESS}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Validation, PassesForGoodFormsAndOddButAllowedOnes) {
  const Host settings("192.168.1.20", "255.255.255.0");
  EXPECT_FALSE(validate(goodForm(), settings));
  LaunchForm spaces = goodForm();
  spaces.licence = "   ";
  EXPECT_FALSE(validate(spaces, settings));
  LaunchForm broadcast = goodForm();
  broadcast.boxIp = ip("192.168.1.255");
  EXPECT_FALSE(validate(broadcast, settings));
}

TEST(Validation, RuleSevenUsesTheStoredMask) {
  LaunchForm form = goodForm();
  form.boxIp = ip("192.168.1.0");
  EXPECT_FALSE(validate(form, Host("192.168.1.20", "255.255.0.0")));
  form.boxIp = ip("192.168.0.0");
  EXPECT_EQ(validate(form, Host("192.168.1.20", "255.255.0.0"))->rule, 7);
}

TEST(Validation, NoHostSettingsRefusesOnlyZero) {
  const Host nothing("", "");
  LaunchForm form = goodForm();
  form.boxIp = ip("0.0.0.0");
  EXPECT_EQ(validate(form, nothing)->rule, 6);
  form.boxIp = ip("0.0.0.1");
  EXPECT_FALSE(validate(form, nothing));
}

}  // namespace
