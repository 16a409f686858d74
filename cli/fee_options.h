#pragma once

#include <string>
#include <vector>

#include "cli/command.h"
#include "exact/fee_schedule.h"
#include "exact/security_code.h"
#include "exact/trade_fees.h"

// The usage of the rule options that the fee commands share.
#define QILO_FEE_RULE_USAGE                                          \
  "[--market sh|sz|bj] [--kind stock|fund] [--commission PERMILLE] " \
  "[--min-commission YUAN] [--other YUAN] [--rounding fen|none] [--code CODE]"

namespace qilo::cli {

// The rule options, each taking a value, for ParseArgs.
std::vector<std::string> FeeRuleOptions();

// Sets `terms` from the rule options given, the date from --date (the local
// today without it), and with --code the market and kind from the code. A
// word option with another word gives false and the problem, for UsageError;
// a number the rules cannot take, a bad date, a bad code or one --market or
// --kind contradicts throws EFeeInputError.
bool ReadFeeTerms(const ParsedArgs& parsed, FeeTerms* terms,
                  std::string* problem);

// Today's date in the local time zone.
Date LocalToday();

// Writes the error's message (UTF-8) on one stderr line and gives exit code 2.
int FeeError(const Exception& error);

}  // namespace qilo::cli
