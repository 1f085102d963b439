// varnow: the desktop application of Varno Writer.
#include <QApplication>
#include <QLocale>
#include <cstring>

#include "CVarnoWApp.h"
#include "LanguageStore.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setOrganizationName("TarvixSystems");
    application.setApplicationName("varnow");
    varnow::gui::MainWindowOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--simulate") == 0) {
            options.simulate = true;
        }
    }
    varnow::platform::LanguageStore store;
    varnow::gui::CVarnoWApp app(store, QLocale::system(), options);
    return app.Run();
}
