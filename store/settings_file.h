#pragma once

#include <string>

namespace qilo {

// The texts the settings file keeps, as the window holds them.
struct SettingsFields {
  std::string& commission;    // text of EdCommision, key "commision"
  std::string& stamp_tax;     // EdStamptax, "stamptax"
  std::string& transfer;      // EdTransfer, "transfer"
  std::string& other;         // EdOther, "otherfee"
  std::string& precision;     // display precision, "precision"
  std::string& price_format;  // rebuilt on load with PriceFormatFor
};

// Writes the five texts to section "cfg" of the settings file, in the order
// commision, stamptax, transfer, otherfee, precision. First a fee text that is
// blank after trimming becomes "0" and a blank precision "2" (in the fields
// themselves); the texts are then written untrimmed. Throws EIniFileException
// when a write is refused; the keys written before it stay written.
void SaveSettings(const std::string& settings_path, SettingsFields fields);

// Reads the five texts from section "cfg" (a missing key or file gives an empty
// text), sets a precision other than "2" or "3" to "2" and rebuilds the price
// format from it. Never throws.
void LoadSettings(const std::string& settings_path, SettingsFields fields);

// The settings file in the home folder: PathInFolder(home, "qilo.ini").
std::string SettingsPath(const std::string& home);

}  // namespace qilo
