#include "app/qt/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <utility>

namespace qilo {
namespace {

QtTranslationsOnDemand* on_demand = nullptr;

}  // namespace

std::unique_ptr<QTranslator> InstallQtTranslations(const QLocale& locale) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        folder) &&
      !translator->load(QLocale(QLocale::Chinese, QLocale::China),
                        QStringLiteral("qtbase"), QStringLiteral("_"),
                        folder)) {
    return nullptr;
  }
  QCoreApplication::installTranslator(translator.get());
  return translator;
}

QtTranslationsOnDemand::QtTranslationsOnDemand(QLocale locale)
    : locale_(std::move(locale)) {
  on_demand = this;
}

QtTranslationsOnDemand::~QtTranslationsOnDemand() {
  if (on_demand == this) on_demand = nullptr;
}

void NeedQtTranslations() {
  if (on_demand == nullptr || on_demand->tried_) return;
  on_demand->tried_ = true;
  on_demand->translator_ = InstallQtTranslations(on_demand->locale_);
}

}  // namespace qilo
