#include "FormScaling.h"

#include <cstdint>
#include <cstdlib>

int MulDiv(int value, int numerator, int denominator) {
    const std::int64_t product = std::int64_t(value) * numerator;
    const std::int64_t half = std::abs(std::int64_t(denominator)) / 2;
    const std::int64_t rounded = product >= 0 ? product + half : product - half;
    return int(rounded / denominator);
}

TFormScaling ComputeFormScaling(int screenPixelsPerInch, int designFontHeight,
                                const std::function<int(int fontHeight)>& textHeightAt) {
    TFormScaling scaling{designFontHeight, 1, 1};
    if (screenPixelsPerInch != DesignPixelsPerInch)
        scaling.WindowFontHeight =
            MulDiv(designFontHeight, screenPixelsPerInch, DesignPixelsPerInch);
    const int textHeight = textHeightAt(scaling.WindowFontHeight);
    if (textHeight != DesignTextHeight && textHeight > 0) {
        scaling.Numerator = textHeight;
        scaling.Denominator = DesignTextHeight;
    }
    return scaling;
}
