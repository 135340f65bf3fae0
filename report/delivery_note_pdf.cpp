#include "report/delivery_note_pdf.h"

#include "core/atomic_file.h"

#include <QBuffer>
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
    // Rendered in memory, then saved as every file is: a failed or killed
    // save keeps the previous note, and a target that is not a regular file
    // (a FIFO, a device) is refused without blocking on it.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QStringLiteral("Delivery note"));
        writer.setCreator(QStringLiteral("zrv41k"));
        PaintDeliveryNote(note, writer);
    }
    const QByteArray& bytes = pdf.data();
    switch (WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        case SaveStatus::Saved: return true;
        case SaveStatus::NotARegularFile: error = path + ": not a regular file; choose another name"; return false;
        case SaveStatus::Failed: break;
    }
    error = path + ": cannot be written (check the folder's permissions and the free space)";
    return false;
}

}  // namespace zrv::report
