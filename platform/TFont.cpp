#include "QtFont.h"

#include <QFontDatabase>

namespace {

// "MS Sans Serif" was a bitmap face that no Linux desktop ships, and fontconfig would quietly
// put a wider face in its place. Each size gets the installed face closest to it in what the
// layout depends on: at 10 pixels its line height of 13 (which decides whether the window
// scales), at the caption sizes its advance widths, which fit the designed button and label sizes.
QString InstalledFamily(const TFont& font) {
    const QString family = QString::fromStdString(font.Name);
    if (QFontDatabase::hasFamily(family) || font.Name != "MS Sans Serif")
        return family;
    return font.Height <= 12 ? "Droid Sans Fallback" : "Liberation Sans";
}

} // namespace

QFont ToQFont(const TFont& font) {
    QFont result(InstalledFamily(font));
    result.setPixelSize(font.Height);
    result.setStyleHint(QFont::SansSerif);
    return result;
}
