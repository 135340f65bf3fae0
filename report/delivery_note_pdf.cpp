#include "report/delivery_note_pdf.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QTextDocument>

namespace zrv::report {

void PaintDeliveryNote(const DeliveryNote& note, QPagedPaintDevice& device) {
    QTextDocument document;
    // No ligatures: the note's text stays searchable and copyable as typed
    // ("verified", not "veri\uFB01ed").
    QFont font = document.defaultFont();
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setHtml(QString::fromStdString(DeliveryNoteHtml(note)));
    // print() lays the pages out on the device's page size.
    document.print(&device);
}

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zrv41k-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

bool WriteDeliveryNotePdf(const DeliveryNote& note, const std::string& path, std::string& error) {
    const QString file = QString::fromStdString(path);
    {
        QFile probe(file);
        if (!probe.open(QIODevice::WriteOnly)) {
            error = path + ": " + probe.errorString().toStdString();
            return false;
        }
    }
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(QStringLiteral("Delivery note"));
    writer.setCreator(QStringLiteral("zrv41k"));
    PaintDeliveryNote(note, writer);
    return true;
}

}  // namespace zrv::report
