#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>

namespace qilo {

// Installs Qt's own texts (the edit fields' context menu, the message box's
// button) for `locale`, or the Simplified Chinese ones where Qt has none for
// it: every other text of the window is Chinese. The texts stay installed
// while the returned translator lives; nullptr when no catalogue loads.
std::unique_ptr<QTranslator> InstallQtTranslations(const QLocale& locale);

// Qt's own texts for `locale`, installed by the first NeedQtTranslations()
// while this lives rather than at start-up: only a context menu or an error
// box shows them, and most runs open neither.
class QtTranslationsOnDemand {
 public:
  explicit QtTranslationsOnDemand(QLocale locale = QLocale());
  ~QtTranslationsOnDemand();
  QtTranslationsOnDemand(const QtTranslationsOnDemand&) = delete;
  QtTranslationsOnDemand& operator=(const QtTranslationsOnDemand&) = delete;

 private:
  friend void NeedQtTranslations();
  QLocale locale_;
  bool tried_ = false;
  std::unique_ptr<QTranslator> translator_;
};

// Called before Qt's own texts are made; does nothing without a living
// QtTranslationsOnDemand or once it has loaded (or failed to load) them.
void NeedQtTranslations();

}  // namespace qilo
