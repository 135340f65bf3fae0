#pragma once
/// @file pages.h
/// The six pages of the main window as window designs. Each page is a Qt
/// Designer form whose top-level QFrame carries the page's panel name; every
/// control on it carries its objectName and the dynamic properties `Tag`
/// (int), `Hint` (string, the binding hint or a tool tip text) and
/// `designedClass` (string, the designed control class such as "TEdit").

#include <QFrame>
#include <array>

class QWidget;

namespace zrv::pages {

/// The pages of the main window, in the order of their page selectors.
enum class PageId { CF, AS, PE, Source, Music, AES };

/// Design size of every page, in pixels, for the default 9-point font.
inline constexpr int kPageWidth = 1000, kPageHeight = 600;

/// All pages in the order of their page selectors.
inline constexpr std::array<PageId, 6> kAllPages{PageId::CF,     PageId::AS,    PageId::PE,
                                                 PageId::Source, PageId::Music, PageId::AES};

/// The order in which the main window should create its pages so that the
/// creation order of the controls is the one the control registry relies on:
/// the transfer-option box `chkManualWEn` (Tag 0, on the alerts page) matches
/// the `chkManu` prefix and must be created before `chkManu0` (on the
/// frequency page), which then replaces it at index 0.
inline constexpr std::array<PageId, 6> kCreationOrder{PageId::AS,     PageId::CF,    PageId::PE,
                                                      PageId::Source, PageId::Music, PageId::AES};

/// Instantiates the design of @p page as a new QFrame owned by @p parent.
/// The frame is kPageWidth x kPageHeight, its objectName is PanelName(page),
/// and its controls are created in the order of the design.
QFrame* CreatePage(PageId page, QWidget* parent);

/// The panel name of @p page: "panCF", "panAS", "panPE", "pnlSource",
/// "pnlMusic" or "panAES".
const char* PanelName(PageId page);

}  // namespace zrv::pages
