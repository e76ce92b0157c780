// Draws the card faces, the piles and the initial pictures of the window. Everything is drawn in
// the units of the 137 x 209 picture box, so one drawing serves every output resolution.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;

namespace CardPainter {

inline constexpr double BoxWidth = 137.0;
inline constexpr double BoxHeight = 209.0;

struct Picture {
    QString name; // file name without ".jpg"
    std::function<void(QPainter&)> draw;
};

// The 32 faces in catalogue order, then stapel1, stapel3, stapel2 and leer1.
std::vector<Picture> PictureFolder();

// blank, fan_right and fan_left.
std::vector<Picture> InitialPictures();

// Maps the box onto an image of the given size; a size of another shape stretches the drawing.
QImage Render(const Picture& picture, QSize pixels);

} // namespace CardPainter
