// Developer tool: renders every main-window page at its design size into
// PNG files, so a page's layout can be looked at without the main window.
//   page_preview [output-folder]      (default: the current folder)
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QPixmap>

#include <cstdio>

#include "app/pages/pages.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setFont(QFont("DejaVu Sans", 9));
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  for (auto id : zrv::pages::kAllPages) {
    QFrame* page = zrv::pages::CreatePage(id, nullptr);
    page->show();
    const QString file = QDir(folder).filePath(QString("%1.png").arg(zrv::pages::PanelName(id)));
    if (!page->grab().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
    delete page;
  }
  return 0;
}
