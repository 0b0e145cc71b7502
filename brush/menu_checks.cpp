#include "brush/menu_checks.h"

const std::vector<MenuChecks::Entry>& MenuChecks::Persisted() {
    // The settings defaults; note "C2" defaults to checked although the menu starts unchecked.
    static const std::vector<Entry> entries = {
        {"tavo", "K1", &MenuChecks::K1, false},    {"tavo", "K2", &MenuChecks::K2, false},
        {"tavo", "K3", &MenuChecks::K3, true},     {"tavo", "K4", &MenuChecks::K4, false},
        {"tavo", "M1", &MenuChecks::M1, true},     {"tavo", "H1", &MenuChecks::H1, true},
        {"tavo", "N8", &MenuChecks::N8, false},    {"tavo", "C2", &MenuChecks::C2, true},
        {"tavo", "P1", &MenuChecks::P1, true},  // the pen's pressure
        {"show", "R9", &MenuChecks::R9, true},     {"show", "L1", &MenuChecks::L1, true},
        {"retachi", "R1", &MenuChecks::R1, true},  {"retachi", "R2", &MenuChecks::R2, false},
        {"retachi", "R3", &MenuChecks::R3, false}, {"retachi", "R4", &MenuChecks::R4, false},
        {"retachi", "R5", &MenuChecks::R5, false}, {"retachi", "R6", &MenuChecks::R6, false},
        {"retachi", "R7", &MenuChecks::R7, false}, {"retachi", "R8", &MenuChecks::R8, false},
    };
    return entries;
}
