#pragma once
// A LayerStackHost that records what the layer window would have shown.
#include <optional>
#include <vector>

#include <QStringList>

#include "layers/layer_stack.h"

struct RecordingHost : LayerStackHost {
    int beeps = 0;
    QStringList messages;
    QStringList confirmations;
    QStringList errors;
    std::vector<TColor> dialogOpenedOn;
    // What the colour dialog answers; nothing means cancelled.
    std::optional<TColor> answer;

    void Beep() override { ++beeps; }
    void MessageBox(const QString& text) override { messages << text; }
    void ConfirmLimit(const QString& text) override { confirmations << text; }
    std::optional<TColor> ChooseColour(TColor initial) override {
        dialogOpenedOn.push_back(initial);
        return answer;
    }
    void RowsChanged() override {}
    void RowChanged(int) override {}
    void StatusChanged() override {}
    void ScrollRowsToTop() override {}
    void ErrorBox(const QString& text) override { errors << text; }
};
