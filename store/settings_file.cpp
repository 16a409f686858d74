#include "store/settings_file.h"

#include "calc/number_text.h"
#include "calc/precision.h"
#include "os/files.h"
#include "store/profile_store.h"

namespace qilo {
namespace {

constexpr char kSection[] = "cfg";

}  // namespace

void SaveSettings(const std::string& settings_path, SettingsFields fields) {
  for (std::string* fee : {&fields.commission, &fields.stamp_tax,
                           &fields.transfer, &fields.other}) {
    if (TrimBlanks(*fee).empty()) *fee = "0";
  }
  if (TrimBlanks(fields.precision).empty())
    fields.precision = PrecisionText(kDefaultPrecision);
  // "commision" with one "s": the key files of earlier runs carry.
  StoreEntry(settings_path, kSection, "commision", fields.commission);
  StoreEntry(settings_path, kSection, "stamptax", fields.stamp_tax);
  StoreEntry(settings_path, kSection, "transfer", fields.transfer);
  StoreEntry(settings_path, kSection, "otherfee", fields.other);
  StoreEntry(settings_path, kSection, "precision", fields.precision);
}

void LoadSettings(const std::string& settings_path, SettingsFields fields) {
  const IniSnapshot settings(settings_path);
  fields.commission = settings.Read(kSection, "commision");
  fields.stamp_tax = settings.Read(kSection, "stamptax");
  fields.transfer = settings.Read(kSection, "transfer");
  fields.other = settings.Read(kSection, "otherfee");
  fields.precision = settings.Read(kSection, "precision");
  fields.precision = PrecisionText(PrecisionOf(fields.precision));
  fields.price_format = PriceFormatFor(fields.precision);
}

std::string SettingsPath(const std::string& home) {
  return PathInFolder(home, "qilo.ini");
}

}  // namespace qilo
