// Developer tool: renders every main-window page at its design size into
// PNG files, so a page's layout can be looked at without the main window.
//   page_preview [--shown] [output-folder]      (default: the current folder)
// --shown also shows the controls that start-up, Open or a menu choice make
// visible later (the out-of-range controls, prompts 41 and 42, the alert tone).
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QPixmap>

#include <cstdio>
#include <cstring>

#include "app/pages/pages.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont("DejaVu Sans", 9));
    int arg = 1;
    const bool shown = argc > arg && std::strcmp(argv[arg], "--shown") == 0;
    if (shown) ++arg;
    const QString folder = argc > arg ? QString::fromLocal8Bit(argv[arg]) : QDir::currentPath();
    for (auto id : zrv::pages::kAllPages) {
        QFrame* page = zrv::pages::CreatePage(id, nullptr);
        if (shown) {
            for (const char* name : {"grouOutOfRange", "CheckBox2", "cboORAAlert", "edtOORMusic",
                                     "btnPreview16", "btnStop16", "edtPrompt41", "lblPrompt41",
                                     "edtPrompt42", "lblPrompt42", "cboTone"})
                if (auto* w = page->findChild<QWidget*>(name)) w->show();
        }
        page->show();
        const QString file =
            QDir(folder).filePath(QString("%1.png").arg(zrv::pages::PanelName(id)));
        if (!page->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        delete page;
    }
    return 0;
}
