#include "gui/translation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace vask {

bool installJapaneseQtTexts(QCoreApplication& application) {
    // Dates and sizes in Qt's dialogs (the file dialog's columns) in the Japanese way too.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral(":/vask/translations/qtbase_ja.qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace vask
