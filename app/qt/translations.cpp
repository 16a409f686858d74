#include "app/qt/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>

namespace qilo {

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

}  // namespace qilo
