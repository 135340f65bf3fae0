#pragma once
/// \file
/// The delivery note of a batch job on paper: rendered to a PDF file with
/// QPdfWriter, or to any QPagedPaintDevice (a printer chosen in the window's
/// print dialog). Needs a QGuiApplication.

#include <string>

#include "core/delivery_note.h"

class QPagedPaintDevice;

namespace zrv::report {

/// Draws \p note on \p device, page by page.
void PaintDeliveryNote(const DeliveryNote& note, QPagedPaintDevice& device);
/// Makes sure a QGuiApplication exists (offscreen unless a platform is
/// set), for a program without windows that writes a report; call it
/// before anything else creates a QCoreApplication.
void EnsureGuiApplication();
/// Writes \p note as a PDF to \p path; false with \p error when the file
/// cannot be written.
bool WriteDeliveryNotePdf(const DeliveryNote& note, const std::string& path, std::string& error);

}  // namespace zrv::report
