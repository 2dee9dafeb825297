#include "gui/translation.h"

#include <QCoreApplication>
#include <QTranslator>

#include "gui/qt_text.h"

namespace vask {

bool installJapaneseQtTexts(QCoreApplication& application, const std::filesystem::path& programFolder) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(qsPath(programFolder / "translations" / "qtbase_ja.qm")) &&
        !translator->load(QStringLiteral(":/vask/translations/qtbase_ja.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace vask
