#pragma once

enum class PDFDisplayMode { SinglePage, SinglePageContinuous, TwoUp, TwoUpContinuous };

inline bool isContinuous(PDFDisplayMode mode)
{
    return mode == PDFDisplayMode::SinglePageContinuous || mode == PDFDisplayMode::TwoUpContinuous;
}

inline bool isTwoUp(PDFDisplayMode mode)
{
    return mode == PDFDisplayMode::TwoUp || mode == PDFDisplayMode::TwoUpContinuous;
}
