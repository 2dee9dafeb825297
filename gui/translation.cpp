#include "gui/translation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace vask {

bool installJapaneseQtTexts(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral(":/vask/translations/qtbase_ja.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace vask
