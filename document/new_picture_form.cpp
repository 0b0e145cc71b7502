#include "document/new_picture_form.h"

#include <climits>

#include "platform/rounding.h"

namespace {

int AtLeastOneElseZero(long long value) {
    if (value < 1) return 0;
    return value > INT_MAX ? INT_MAX : int(value);
}

// The other side in proportion; none while the reference has no ratio. The linked field gets
// the below-1 rule but does not link back, so the side being typed keeps its value.
std::optional<int> Linked(int value, int numerator, int denominator) {
    if (numerator <= 0 || denominator <= 0) return std::nullopt;
    return AtLeastOneElseZero(Round(double(value) * (double(numerator) / double(denominator))));
}

}  // namespace

void NewPictureForm::WidthTyped(int value) {
    Width = AtLeastOneElseZero(value);
    if (!KeepAspect) return;
    if (const auto h = Linked(*Width, ReferenceHeight, ReferenceWidth)) Height = h;
}

void NewPictureForm::HeightTyped(int value) {
    Height = AtLeastOneElseZero(value);
    if (!KeepAspect) return;
    if (const auto w = Linked(*Height, ReferenceWidth, ReferenceHeight)) Width = w;
}

void NewPictureForm::SetKeepAspect(bool on) {
    KeepAspect = on;
    if (!on) return;
    ReferenceWidth = Width.value_or(0);
    ReferenceHeight = Height.value_or(0);
}

bool NewPictureForm::Confirm() {
    if (!Width) {
        Width = 0;
        return true;
    }
    if (!Height) {
        Height = 0;
        return true;
    }
    return false;
}
