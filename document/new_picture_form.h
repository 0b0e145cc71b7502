#pragma once
// The "新規作成" dialog's fields and their rules, free of widgets: a size field whose value
// falls below 1 becomes 0, and with "縦横比を固定" ticked a change to one side sets the other in
// the proportion of the sizes at the moment the box was ticked.
#include <optional>

struct NewPictureForm {
    // Empty fields have no value.
    std::optional<int> Width;
    std::optional<int> Height;
    bool KeepAspect = false;
    int ReferenceWidth = 0;
    int ReferenceHeight = 0;

    // The user changed a field's text to a number.
    void WidthTyped(int value);
    void HeightTyped(int value);
    // The check box changed; ticking it takes the current sides as the reference.
    void SetKeepAspect(bool on);
    // "決定": an empty width (else an empty height) becomes 0; true when that calls for a beep.
    bool Confirm();
};
