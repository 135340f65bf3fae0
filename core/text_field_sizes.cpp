#include "core/text_field_sizes.h"

namespace zrv {

namespace {
// The ruler holds one letter more than the field takes.
constexpr TextFieldSize kLogoSize{true, 17, 16};
constexpr TextFieldSize kShortSize{false, 19, 18};
constexpr TextFieldSize kLineSize{false, 22, 21};
constexpr int kFirstLogoLine = 32;

bool IsShortPrompt(int i) { return i == 3 || i == 4 || i == 21 || i == 28 || i == 43; }
}  // namespace

TextFieldSize PromptFieldSize(int promptIndex, bool logoLargeFont) {
    if (promptIndex == 0 && logoLargeFont) return kLogoSize;
    return IsShortPrompt(promptIndex) ? kShortSize : kLineSize;
}

TextFieldSize SourceFieldSize(int sourceIndex) {
    return sourceIndex < kFirstLogoLine ? kLineSize : kLogoSize;
}

}  // namespace zrv
