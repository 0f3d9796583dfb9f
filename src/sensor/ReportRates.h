#pragma once
// The seven report rates of the report-rate panels, by the panels' own index.

#include <array>

struct ReportRateRow {
    int hz;
    int code;      // ReportRateCode of the settings image
    int highRate;  // SigHideModel argument: 1 for 2000 Hz and more
};

inline constexpr std::array<ReportRateRow, 7> kReportRates = {{
    {125, 8, 0},
    {250, 4, 0},
    {500, 2, 0},
    {1000, 1, 0},
    {2000, 16, 1},
    {4000, 32, 1},
    {8000, 64, 1},
}};

// Index of a ReportRateCode, -1 for a code outside the table.
inline int ReportRateIndexOfCode(int code) {
    for (int i = 0; i < int(kReportRates.size()); ++i)
        if (kReportRates[size_t(i)].code == code) return i;
    return -1;
}

// Which of 2000, 4000 and 8000 Hz a ShowRates mode shows; false for a mode outside 0 to 3.
inline bool HighRatesShown(int mode, std::array<bool, 3>* shown) {
    static constexpr std::array<std::array<bool, 3>, 4> kModes = {{
        {false, false, false},
        {true, true, false},
        {true, false, false},
        {true, true, true},
    }};
    if (mode < 0 || mode >= int(kModes.size())) return false;
    *shown = kModes[size_t(mode)];
    return true;
}
