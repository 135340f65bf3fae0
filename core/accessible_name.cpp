#include "core/accessible_name.h"

namespace zrv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/// Removes what points from the caption to its control: colons and blanks,
/// and an arrow made of dashes ending in ">".
void StripPointer(std::string& s) {
    for (;;) {
        while (!s.empty() && (IsBlank(s.back()) || s.back() == ':')) s.pop_back();
        if (s.empty() || s.back() != '>') return;
        s.pop_back();
        while (!s.empty() && (s.back() == '-' || IsBlank(s.back()))) s.pop_back();
    }
}

}  // namespace

std::string AccessibleNameFromCaption(std::string_view caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        char c = caption[i];
        if (c == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') ++i;  // "&&" is a shown "&"
            else continue;
        }
        if (IsBlank(c)) {
            if (out.empty() || out.back() == ' ') continue;
            c = ' ';
        }
        out.push_back(c);
    }
    StripPointer(out);
    return out;
}

}  // namespace zrv
