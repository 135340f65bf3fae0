#include "app/pages/pages.h"

#include "ui_page_cf.h"
#include "ui_page_as.h"
#include "ui_page_pe.h"
#include "ui_page_source.h"
#include "ui_page_music.h"
#include "ui_page_aes.h"

namespace zrv::pages {

namespace {

template <class Ui>
QFrame* Instantiate(QWidget* parent) {
    auto* frame = new QFrame(parent);
    Ui ui;
    ui.setupUi(frame);
    return frame;
}

}  // namespace

QFrame* CreatePage(PageId page, QWidget* parent) {
    switch (page) {
    case PageId::CF: return Instantiate<Ui::panCF>(parent);
    case PageId::AS: return Instantiate<Ui::panAS>(parent);
    case PageId::PE: return Instantiate<Ui::panPE>(parent);
    case PageId::Source: return Instantiate<Ui::pnlSource>(parent);
    case PageId::Music: return Instantiate<Ui::pnlMusic>(parent);
    case PageId::AES: return Instantiate<Ui::panAES>(parent);
    }
    return nullptr;
}

const char* PanelName(PageId page) {
    switch (page) {
    case PageId::CF: return "panCF";
    case PageId::AS: return "panAS";
    case PageId::PE: return "panPE";
    case PageId::Source: return "pnlSource";
    case PageId::Music: return "pnlMusic";
    case PageId::AES: return "panAES";
    }
    return "";
}

}  // namespace zrv::pages
