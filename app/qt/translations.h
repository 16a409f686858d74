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

}  // namespace qilo
