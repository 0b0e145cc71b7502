#pragma once
// The check marks of the main window's option menus. The options are these marks: the code
// that uses an option reads its mark, and the settings file stores each mark under the item's
// name.
#include <QString>
#include <vector>

struct MenuChecks {
    // Brush kind: no blur, weak, medium, strong; bleed; dry brush; width and density by speed;
    // the pen's pressure.
    bool K1 = false, K4 = false, K3 = true, K2 = false;
    bool M1 = true, H1 = true, N8 = false, C2 = false, P1 = true;
    // Retouch kind.
    bool R1 = true, R2 = false, R6 = false, R3 = false, R7 = false, R5 = false, R8 = false,
         R4 = false;
    // View: loupe and layer windows.
    bool L1 = true, R9 = true;
    // The hidden brush size menu: extra thick, thick, medium, thin, extra thin.
    bool S1 = false, S2 = false, S3 = true, S4 = false, S5 = false;

    // The persisted marks as (section, key, field), in the order they are written.
    struct Entry {
        const char* section;
        const char* key;
        bool MenuChecks::*field;
        bool def;
    };
    static const std::vector<Entry>& Persisted();
};
