// Program entry: one copy at a time, the application "ヴァスク", the main window.
#include <QApplication>

#include "app/app_context.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/single_instance.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    vask::SingleInstance instance;
    if (!instance.acquire()) return 0;  // a second copy ends silently
    QApplication::setApplicationName(vask::kAppTitle);

    vask::QtDialogs dialogs;
    vask::AppContext context = vask::systemContext(dialogs);
    vask::TfrmMain window(context);
    window.show();
    QApplication::exec();
    return 0;
}
