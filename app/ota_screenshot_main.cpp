// zrv41k-ota-screenshot FILE.png: the OTA window of the default image after
// a View of types 1, 2 and 254 (raw data 0A0B at 1F0), for the documentation.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "app/companion_windows.h"
#include "app/silent_notifier.h"
#include "ota/ui/ota_window.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("Usage: zrv41k-ota-screenshot FILE.png\n", stderr);
        return 2;
    }
    QApplication qapp(argc, argv);
    zrv::app::UseDesignFont();
    QTemporaryDir folder;
    zrv::app::SilentNotifier notifier;
    zrv::app::Application app(zrv::app::StartupOptions::Unattended(folder.path().toStdString(), notifier));
    app.mainWindow().show();
    QApplication::processEvents();
    zrv::ota::ui::OtaWindow& ota = *app.companions().frmOTA;
    ota.show();
    QApplication::processEvents();
    const auto find = [&ota]<class T>(T*, const char* name) { return ota.findChild<T*>(QString::fromLatin1(name)); };
    find(static_cast<QCheckBox*>(nullptr), "chkCmd1")->click();
    find(static_cast<QCheckBox*>(nullptr), "chkCmd254")->click();
    find(static_cast<QLineEdit*>(nullptr), "edtData")->setText(QStringLiteral("0A0B"));
    find(static_cast<QLineEdit*>(nullptr), "edtStart")->setText(QStringLiteral("1F0"));
    find(static_cast<QLineEdit*>(nullptr), "edtID")->setText(QStringLiteral("1234567N12"));
    find(static_cast<QCheckBox*>(nullptr), "chkSysDate")->click();
    find(static_cast<QPushButton*>(nullptr), "btnOTAView")->click();
    QApplication::processEvents();
    if (!ota.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
