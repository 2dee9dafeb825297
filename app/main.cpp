// Program entry: one copy at a time, the application "ヴァスク", the main window.
#include <QApplication>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "gui/app_context.h"
#include "gui/dialogs.h"
#include "gui/translation.h"

int main(int argc, char** argv) {
    // The lock needs no application object: a second copy ends silently before it loads a
    // platform plugin or opens a connection to the display.
    vask::SingleInstance instance;
    if (!instance.acquire()) return 0;
    QApplication application(argc, argv);
    QApplication::setApplicationName(vask::kAppTitle);

    vask::QtDialogs dialogs;
    vask::AppContext context = vask::systemContext(dialogs);
    vask::installJapaneseQtTexts(application, context.programFolder);
    vask::TfrmMain window(context);
    window.show();
    QApplication::exec();
    return 0;
}
